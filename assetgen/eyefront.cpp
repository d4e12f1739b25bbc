// eyefront.jpg: the eyeball from outside, seen from the front left: cornea, pupil and iris at
// the left, the muscles above and below, the optic nerve leaving at the back right. The places
// of the page's labels stay white; a leader line runs from each part to beside its label.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "assetgen/geometry.h"
#include "assetgen/iris.h"
#include "assetgen/labels.h"
#include "assetgen/pictures.h"

namespace assetgen {

namespace {

constexpr QPointF kCentre(208, 146);
constexpr double kRadius = 106;

// A muscle running back from the ball (behind it): a band from its two attachments to its two
// far ends, tendon-pale where it meets the ball, with fibres along it.
void Muscle(QPainter& p, QPointF attach1, QPointF attach2, QPointF end1, QPointF end2) {
  const QColor muscle(186, 78, 66), muscleLight(222, 128, 110), tendon(236, 222, 206);
  QPainterPath band(attach1);
  band.cubicTo(attach1 + (end1 - attach1) * 0.3 + QPointF(0, (end1.y() - kCentre.y()) * 0.1),
               end1 - (end1 - attach1) * 0.3, end1);
  band.lineTo(end2);
  band.cubicTo(end2 - (end2 - attach2) * 0.3, attach2 + (end2 - attach2) * 0.3, attach2);
  band.closeSubpath();
  QLinearGradient g(attach1, end1);
  g.setColorAt(0, tendon);
  g.setColorAt(0.18, muscleLight);
  g.setColorAt(0.5, muscle);
  g.setColorAt(1, muscle.darker(115));
  p.setPen(QPen(QColor(120, 50, 45), 1.0));
  p.setBrush(g);
  p.drawPath(band);
  p.setPen(QPen(QColor(255, 200, 190, 90), 0.7));
  for (double t = 0.2; t < 0.85; t += 0.15) {
    const QPointF a = attach1 + (attach2 - attach1) * t, b = end1 + (end2 - end1) * t;
    p.drawLine(a + (b - a) * 0.22, b - (b - a) * 0.04);
  }
}

// A round cord leaving the back of the ball towards its label, its cut end showing two vessels.
void OpticNerve(QPainter& p) {
  const QPointF from = Polar(kCentre, kRadius - 20, 24), to(336, 205);
  const QLineF axis(from, to);
  const QPointF n = QPointF(-axis.dy(), axis.dx()) / axis.length() * 13.0;
  QPainterPath cord(from + n);
  cord.lineTo(to + n);
  cord.lineTo(to - n);
  cord.lineTo(from - n);
  cord.closeSubpath();
  QLinearGradient g(to + n, to - n);
  g.setColorAt(0, QColor(250, 238, 196));
  g.setColorAt(0.5, QColor(240, 218, 156));
  g.setColorAt(1, QColor(196, 168, 110));
  p.setPen(QPen(QColor(150, 120, 70), 1.0));
  p.setBrush(g);
  p.drawPath(cord);
  p.save();
  p.translate(to);
  p.rotate(axis.angle() * -1);
  p.setBrush(QColor(236, 206, 150));
  p.drawEllipse(QPointF(0, 0), 4.5, 13.0);
  p.setBrush(QColor(200, 70, 60));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(0.5, -2), 1.3, 2.0);
  p.drawEllipse(QPointF(0.5, 2.5), 1.3, 2.0);
  p.restore();
}

// The white ball lit from the upper left, with fine vessels on the sclera.
void Ball(QPainter& p) {
  const QPointF c = kCentre;
  const double R = kRadius;
  QRadialGradient ball(c + QPointF(-40, -45), R * 1.6);
  ball.setColorAt(0, QColor(255, 255, 253));
  ball.setColorAt(0.55, QColor(244, 238, 232));
  ball.setColorAt(1, QColor(196, 180, 176));
  p.setPen(QPen(QColor(130, 115, 112), 1.2));
  p.setBrush(ball);
  p.drawEllipse(c, R, R);
  Rng rng(23);
  for (int i = 0; i < 9; ++i) {
    QPointF a = Polar(c, R - rng.Range(2, 8), rng.Range(-60, 80));
    QPainterPath v(a);
    for (int k = 0; k < 3; ++k) {
      const QPointF step = (QPointF(150, 146) - a) * rng.Range(0.08, 0.14) +
                           QPointF(rng.Range(-6, 6), rng.Range(-6, 6));
      v.quadTo(a + step * 0.5 + QPointF(rng.Range(-3, 3), rng.Range(-3, 3)), a + step);
      a += step;
    }
    p.setPen(QPen(QColor(200, 70, 70, 120), rng.Range(0.5, 0.9)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(v);
  }
}

// Iris and pupil, foreshortened towards the viewer on the left, under the clear dome of the
// cornea whose rim lies on the iris's edge, with two highlights on it.
void IrisUnderCornea(QPainter& p) {
  const QPointF ic(132, 146);
  IrisTexture(p, ic, 26, 52, {QColor(92, 120, 150), QColor(160, 190, 215), QColor(30, 45, 70)}, 29);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(12, 12, 16));
  p.drawEllipse(ic + QPointF(1, 0), 9.5, 19);

  const QPointF limbusTop = ic - QPointF(0, 54), limbusBottom = ic + QPointF(0, 54);
  QPainterPath dome(limbusTop);
  dome.cubicTo(QPointF(108, 96), QPointF(94, 122), QPointF(94, 146));
  dome.cubicTo(QPointF(94, 170), QPointF(108, 196), limbusBottom);
  dome.arcTo(QRectF(ic.x() - 28, ic.y() - 54, 56, 108), -90, -180);
  QLinearGradient clear(94, 0, 132, 0);
  clear.setColorAt(0, QColor(180, 215, 240, 150));
  clear.setColorAt(1, QColor(200, 230, 248, 40));
  p.setBrush(clear);
  p.setPen(QPen(QColor(90, 140, 175), 1.1));
  p.drawPath(dome);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 220));
  p.drawEllipse(QPointF(110, 118), 3, 6.5);
  p.setBrush(QColor(255, 255, 255, 120));
  p.drawEllipse(QPointF(124, 120), 3.5, 8);
}

}  // namespace

QImage EyeFront(int density) {
  const Diagram& d = EyeFrontLabels();
  return Supersampled(408, 286, density, Qt::white, 3, [&d](QPainter& p) {
    const QPointF c = kCentre;
    const double R = kRadius;
    Muscle(p, Polar(c, R - 2, -120), Polar(c, R - 2, -95), QPointF(326, 30), QPointF(330, 52));
    Muscle(p, Polar(c, R - 2, 95), Polar(c, R - 2, 122), QPointF(322, 266), QPointF(318, 246));
    OpticNerve(p);
    Ball(p);
    IrisUnderCornea(p);

    const QColor ink(55, 55, 60);
    Leader(p, d, "角膜", QPointF(101, 112), ink);
    Leader(p, d, "瞳孔", QPointF(130, 142), ink);
    Leader(p, d, "虹膜", QPointF(136, 184), ink);
    Leader(p, d, "眼肌", QPointF(298, 44), ink);
    Leader(p, d, "鞏膜", QPointF(284, 96), ink);
    Leader(p, d, "視神經", QPointF(330, 204), ink);
  });
}

}  // namespace assetgen
