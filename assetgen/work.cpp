// work.gif: light from an upright tree passes the pupil and the lens and forms an inverted image
// on the retina; the optic nerve leaves the back of the eye up to its label.
#include <QLineF>
#include <QPolygonF>
#include <cmath>
#include <tuple>

#include "assetgen/labels.h"
#include "assetgen/pictures.h"
#include "assetgen/section.h"

namespace assetgen {

namespace {

const QColor kLeaf(60, 150, 66), kTrunk(132, 84, 40), kRayTop(230, 130, 20),
    kRayBottom(40, 110, 200);

// Where light from a point through the lens centre meets the retina: the far intersection of
// lens + t * dir with the retina circle.
QPointF OnRetina(const Section& s, QPointF lens, QPointF from) {
  const double retinaR = s.R - s.Sclera() - s.Choroid() - s.Retina();
  const QPointF dir = (lens - from) / QLineF(from, lens).length();
  const QPointF o = lens - s.c;
  const double b = QPointF::dotProduct(o, dir);
  const double cc = QPointF::dotProduct(o, o) - retinaR * retinaR;
  return lens + dir * (-b + std::sqrt(b * b - cc));
}

// A little tree from its base to its top, upright or upside down.
void Tree(QPainter& p, QPointF top, QPointF base) {
  const QPointF up = (top - base);
  const double h = QLineF(top, base).length();
  const QPointF side = QPointF(-up.y(), up.x()) / h;
  p.setPen(Qt::NoPen);
  p.setBrush(kTrunk);
  p.drawPolygon(QPolygonF{base + side * h * 0.06, base - side * h * 0.06,
                          base + up * 0.45 - side * h * 0.05, base + up * 0.45 + side * h * 0.05});
  p.setBrush(kLeaf);
  p.setPen(QPen(kLeaf.darker(140), 0.8));
  p.drawPolygon(
      QPolygonF{top, base + up * 0.25 + side * h * 0.32, base + up * 0.25 - side * h * 0.32});
}

// The tree, the rays from each end of it through three points of the pupil to its image, and
// the image upside down on the retina.
void TreeAndImage(QPainter& p, const Section& s, const SectionParts& parts) {
  const QPointF treeTop(288, 98), treeBase(288, 140);
  const QPointF imgTop = OnRetina(s, parts.lens, treeTop),
                imgBase = OnRetina(s, parts.lens, treeBase);
  for (auto [from, to, col] :
       {std::tuple{treeTop, imgTop, kRayTop}, std::tuple{treeBase, imgBase, kRayBottom}}) {
    p.setPen(QPen(col, 1.1));
    for (double off : {-6.0, 0.0, 6.0}) {
      const QPointF at = parts.pupil + QPointF(0, off);
      p.drawLine(from, at);
      p.drawLine(at, to);
    }
  }
  Tree(p, treeTop, treeBase);
  Tree(p, imgTop + (imgBase - imgTop) * 0.04, imgBase);
}

}  // namespace

QImage EyeWorking(int density) {
  const Diagram& d = EyeWorkingLabels();
  const Section s{QPointF(104, 120), 74, 0, 222, 28};
  const QImage picture = Supersampled(309, 198, density, Qt::white, 3, [&](QPainter& p) {
    const QPointF root = s.At(s.R - 10, s.nerveAt), end(40, 30);
    QPainterPath axis(root);
    axis.cubicTo(root + QPointF(-14, -12), end + QPointF(-2, 18), end);
    const SectionParts parts = DrawSection(p, s, NerveAlong(axis, 16));
    TreeAndImage(p, s, parts);

    // The lens's label stands above it: a plain leader straight down to the lens.
    const QColor ink(40, 40, 48);
    const QRectF lensLabel = d.TextRect(d.Label("晶狀體"));
    p.setPen(QPen(ink, 1.2));
    const QPointF lensTop = parts.lens - s.Side() * (parts.lensHalfHeight * 0.6);
    p.drawLine(QPointF(lensLabel.center().x(), lensLabel.bottom() + 1), lensTop);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(lensTop, 2.0, 2.0);
  });
  return ToPalette(picture, BlendPalette({qRgb(255, 255, 255), kInk.rgb(), kSclera.rgb(),
                                          kCornea.rgb(), kAqueous.rgb(), kIris.rgb(), kLens.rgb(),
                                          kChoroid.rgb(), kRetina.rgb(), kNerve.rgb(), kLeaf.rgb(),
                                          kTrunk.rgb(), kRayTop.rgb(), kRayBottom.rgb()},
                                         2));
}

}  // namespace assetgen
