#include "assetgen/iris.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "assetgen/geometry.h"
#include "assetgen/pictures.h"

namespace assetgen {

void IrisTexture(QPainter& p, QPointF c, double rx, double ry, const IrisColours& colours,
                 std::uint32_t seed) {
  const auto& [base, light, dark] = colours;
  Rng rng(seed);
  p.save();
  QRadialGradient g(QPointF(0, 0), 1.0);
  g.setColorAt(0.0, base.lighter(115));
  g.setColorAt(0.5, base);
  g.setColorAt(0.85, base.darker(125));
  g.setColorAt(1.0, dark);
  p.translate(c);
  p.scale(rx, ry);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(QPointF(0, 0), 1.0, 1.0);
  for (int i = 0; i < 260; ++i) {
    const double a = rng.Range(0, 2 * kPi);
    const double r0 = rng.Range(0.28, 0.5), r1 = rng.Range(0.75, 0.98);
    QColor col = rng.Unit() < 0.6 ? light : dark;
    col.setAlpha(static_cast<int>(rng.Range(50, 140)));
    QPen pen(col, rng.Range(0.008, 0.025));
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    const double wob = rng.Range(-0.08, 0.08);
    QPainterPath fibre(QPointF(std::cos(a) * r0, std::sin(a) * r0));
    fibre.quadTo(QPointF(std::cos(a + wob), std::sin(a + wob)) * ((r0 + r1) / 2),
                 QPointF(std::cos(a) * r1, std::sin(a) * r1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(fibre);
  }
  QColor collar = light;
  collar.setAlpha(110);
  p.setPen(QPen(collar, 0.05));
  p.drawEllipse(QPointF(0, 0), 0.45, 0.45);
  QColor rim = dark;
  rim.setAlpha(200);
  p.setPen(QPen(rim, 0.07));
  p.drawEllipse(QPointF(0, 0), 0.965, 0.965);
  p.restore();
}

void DrawPupil(QPainter& p, QPointF c, const SoftPupil& pupil) {
  QColor faded = pupil.edge;
  faded.setAlpha(0);
  QRadialGradient g(c, pupil.radius);
  g.setColorAt(0, pupil.centre);
  g.setColorAt(pupil.edgeAt, pupil.edge);
  g.setColorAt(1, faded);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(c, pupil.radius, pupil.radius);
}

namespace {

// Fibres from the collarette towards the rim, a little wavy, fading towards the rim.
void FaintFibres(QPainter& p, QPointF centre, double radius, QColor tint, Rng& rng) {
  auto withAlpha = [&tint](int alpha) {
    QColor c = tint;
    c.setAlpha(alpha);
    return c;
  };
  p.setBrush(Qt::NoBrush);
  const int fibres = 300;
  for (int i = 0; i < fibres; ++i) {
    const double a = 2 * kPi * (i + rng.Range(-0.4, 0.4)) / fibres;
    const double r0 = radius * rng.Range(0.30, 0.38);
    const double r1 = radius * rng.Range(0.70, 0.92);
    const double bend = rng.Range(-0.05, 0.05);
    QLinearGradient fade(centre + QPointF(std::cos(a), std::sin(a)) * r0,
                         centre + QPointF(std::cos(a), std::sin(a)) * r1);
    const int alpha = static_cast<int>(rng.Range(12, 30));
    fade.setColorAt(0, withAlpha(alpha));
    fade.setColorAt(1, withAlpha(0));
    p.setPen(QPen(QBrush(fade), rng.Range(0.8, 2.0), Qt::SolidLine, Qt::RoundCap));
    QPainterPath fibre(centre + QPointF(std::cos(a), std::sin(a)) * r0);
    const QPointF mid = centre + QPointF(std::cos(a + bend), std::sin(a + bend)) * (r0 + r1) / 2;
    fibre.quadTo(mid, centre + QPointF(std::cos(a), std::sin(a)) * r1);
    p.drawPath(fibre);
  }
}

}  // namespace

// A soft disc, the fibres, a collarette, a pupil and a catch-light, fading out at the rim.
void FaintIris(QPainter& p, QPointF centre, double radius, QColor tint, std::uint32_t seed) {
  Rng rng(seed);
  auto withAlpha = [&tint](int alpha) {
    QColor c = tint;
    c.setAlpha(alpha);
    return c;
  };
  p.save();
  p.setPen(Qt::NoPen);
  QRadialGradient body(centre, radius);
  body.setColorAt(0.0, withAlpha(20));
  body.setColorAt(0.6, withAlpha(30));
  body.setColorAt(0.8, withAlpha(34));
  body.setColorAt(1.0, withAlpha(0));
  p.setBrush(body);
  p.drawEllipse(centre, radius, radius);
  FaintFibres(p, centre, radius, tint, rng);
  p.setPen(QPen(withAlpha(26), radius * 0.015));
  p.drawEllipse(centre, radius * 0.34, radius * 0.34);
  DrawPupil(p, centre, {radius * 0.25, withAlpha(40), withAlpha(40), 0.9});
  p.setBrush(QColor(255, 255, 255, 140));
  p.drawEllipse(centre + QPointF(radius * 0.09, -radius * 0.11), radius * 0.05, radius * 0.05);
  p.restore();
}

}  // namespace assetgen
