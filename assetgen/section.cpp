#include "assetgen/section.h"

#include <QLineF>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <cmath>

namespace assetgen {

namespace {

// An annulus sector between two radii, from angle a0 to a1 (degrees, clockwise on screen).
QPainterPath Band(QPointF c, double r0, double r1, double a0, double a1) {
  QPainterPath path;
  QRectF outer(c.x() - r1, c.y() - r1, 2 * r1, 2 * r1);
  QRectF inner(c.x() - r0, c.y() - r0, 2 * r0, 2 * r0);
  // QPainterPath angles run counter-clockwise, screen y points down.
  path.arcMoveTo(outer, -a0);
  path.arcTo(outer, -a0, -(a1 - a0));
  path.arcTo(inner, -a1, a1 - a0);
  path.closeSubpath();
  return path;
}

// The inside, the nerve under the wall, the wall's three layers, and the nerve fibres through
// the wall at the disc.
void Wall(QPainter& p, const Section& s, const QPainterPath& nerve) {
  const double R = s.R, ch = s.corneaHalf;
  const double sclera = s.Sclera(), choroid = s.Choroid(), retina = s.Retina();
  p.setPen(Qt::NoPen);
  p.setBrush(kVitreous);
  p.drawEllipse(s.c, R - sclera, R - sclera);

  // The nerve goes under the wall so that the wall overlaps its root.
  p.setPen(QPen(kInk, 1.0));
  p.setBrush(kNerve);
  p.drawPath(nerve);

  const double disc = s.nerveAt, gap = 7.5;
  auto band = [&](double r0, double r1, double a0, double a1, QColor col) {
    p.setBrush(col);
    p.drawPath(Band(s.c, r0, r1, s.front + a0, s.front + a1));
  };
  p.setPen(QPen(kInk, 0.9));
  band(R - sclera, R, ch - 2, 362 - ch, kSclera);
  p.setPen(Qt::NoPen);
  const double rChoroid = R - sclera - choroid, rRetina = rChoroid - retina;
  band(rChoroid, R - sclera, ch + 6, disc - gap, kChoroid);
  band(rChoroid, R - sclera, disc + gap, 354 - ch, kChoroid);
  p.setPen(QPen(kInk, 0.6));
  band(rRetina, rChoroid, ch + 12, disc - gap, kRetina);
  band(rRetina, rChoroid, disc + gap, 348 - ch, kRetina);
  p.setPen(Qt::NoPen);
  band(rRetina - 1.5, R + 1, disc - gap, disc + gap, kNerve);
  p.setPen(QPen(kInk, 0.6));
  p.drawLine(s.At(rRetina - 1.5, disc - gap), s.At(R - sclera, disc - gap));
  p.drawLine(s.At(rRetina - 1.5, disc + gap), s.At(R - sclera, disc + gap));
}

// The front opening of the ball, where the cornea sits.
struct Opening {
  QPointF mid;  // middle of the chord across the opening
  double half;  // half that chord
};

// A cap of smaller radius across the front opening, over the clear front chamber. Returns the
// middle of the cornea for its leader line.
QPointF Cornea(QPainter& p, const Section& s, const Opening& o) {
  const double R = s.R;
  const double rc = R * 0.66;
  const QPointF cc = o.mid - s.Forward() * std::sqrt(rc * rc - o.half * o.half);
  const double span = std::asin(o.half / rc) * 180 / kPi;
  const double t = R * 0.055;
  const QRectF cornea(cc.x() - rc, cc.y() - rc, 2 * rc, 2 * rc);
  QPainterPath chamber;
  chamber.arcMoveTo(cornea, -(s.front - span));
  chamber.arcTo(cornea, -(s.front - span), -2 * span);
  chamber.closeSubpath();
  p.setPen(QPen(kInk, 0.9));
  p.setBrush(kAqueous);
  p.drawPath(chamber);
  p.setBrush(kCornea);
  p.drawPath(Band(cc, rc - t, rc, s.front - span, s.front + span));
  return Polar(cc, rc - t / 2, s.front + span * 0.5);
}

// Biconvex, flatter in front, hung from the ciliary body by fine fibres. Returns its half
// height.
double Lens(QPainter& p, const Section& s, const Opening& o, QPointF irisRoot, QPointF lensC) {
  const double R = s.R;
  const QPointF fwd = s.Forward(), side = s.Side();
  const double lh = R * 0.34, lb = R * 0.15, lf = R * 0.09;
  const QPointF top = lensC + side * lh, bottom = lensC - side * lh;
  for (int sign : {-1, 1}) {
    const QPointF rim = irisRoot + side * (sign * o.half * 0.97);
    p.setPen(QPen(kInk, 0.45));
    for (int k = 0; k < 4; ++k) {
      p.drawLine(rim - fwd * (R * (0.07 + 0.03 * k)) - side * (sign * R * 0.06),
                 lensC + side * (sign * lh * 0.97) - fwd * (R * 0.012 * (k - 1.5)));
    }
  }
  QPainterPath lens;
  lens.moveTo(top);
  lens.cubicTo(top + fwd * lf * 1.33, bottom + fwd * lf * 1.33, bottom);
  lens.cubicTo(bottom - fwd * lb * 1.33, top - fwd * lb * 1.33, top);
  p.setBrush(kLens);
  p.setPen(QPen(kInk, 0.9));
  p.drawPath(lens);
  return lh;
}

// The ciliary body in the wall's corner and the iris resting on the lens's front, on both
// sides. Returns the middle of the iris flap on the far side of Side().
QPointF CiliaryAndIris(QPainter& p, const Section& s, const Opening& o, QPointF irisRoot) {
  const double R = s.R;
  const QPointF fwd = s.Forward(), side = s.Side();
  const double pupil = R * 0.13;
  QPointF irisMiddle;
  for (int sign : {-1, 1}) {
    const QPointF rim = irisRoot + side * (sign * o.half * 0.97);
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kCiliary);
    p.drawPolygon(QPolygonF{rim + fwd * (R * 0.02), rim - fwd * (R * 0.2),
                            rim - side * (sign * R * 0.09) - fwd * (R * 0.05)});
    const QPointF tip = irisRoot + side * (sign * pupil);
    p.setBrush(kIris);
    p.drawPolygon(QPolygonF{rim + fwd * (R * 0.03), rim - fwd * (R * 0.05), tip - fwd * (R * 0.025),
                            tip + fwd * (R * 0.015)});
    if (sign == -1) irisMiddle = (rim + tip) / 2 - fwd * (R * 0.01);
  }
  return irisMiddle;
}

}  // namespace

SectionParts DrawSection(QPainter& p, const Section& s, const QPainterPath& nerve) {
  Wall(p, s, nerve);
  const QPointF edgeA = s.At(s.R - 1, -s.corneaHalf), edgeB = s.At(s.R - 1, s.corneaHalf);
  const Opening opening{(edgeA + edgeB) / 2, QLineF(edgeA, edgeB).length() / 2};
  const QPointF cornea = Cornea(p, s, opening);
  const QPointF irisRoot = opening.mid - s.Forward() * (s.R * 0.05);
  const QPointF lensC = opening.mid - s.Forward() * (s.R * 0.2);
  const double lensHalfHeight = Lens(p, s, opening, irisRoot, lensC);
  const QPointF iris = CiliaryAndIris(p, s, opening, irisRoot);
  return SectionParts{cornea, irisRoot, lensC, iris, lensHalfHeight};
}

QPainterPath NerveAlong(const QPainterPath& axis, double width) {
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(Qt::FlatCap);
  return stroker.createStroke(axis).simplified();
}

}  // namespace assetgen
