// Page backgrounds: light, calm fields that black text reads well on. The title and menu pages
// carry a faint iris, the eye the course is about; the illusion pages stay plain.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "assetgen/pictures.h"

namespace assetgen {

namespace {

constexpr int kWidth = 661;  // the client area of a page: 9915 x 7620 twips
constexpr int kHeight = 508;

void FillGradient(QPainter& p, QColor top, QColor bottom) {
  QLinearGradient g(0, 0, 0, kHeight);
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.fillRect(QRectF(0, 0, kWidth, kHeight), g);
}

// A large, pale iris: a soft disc with fine radial fibres, a collarette, a pupil and a
// catch-light, fading out at its rim, drawn so faintly that text over it stays clear.
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

  // Fibres from the collarette towards the rim, a little wavy, fading with the body.
  p.setBrush(Qt::NoBrush);
  const int fibres = 300;
  for (int i = 0; i < fibres; ++i) {
    const double a = 2 * std::numbers::pi * (i + rng.Range(-0.4, 0.4)) / fibres;
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
  p.setPen(QPen(withAlpha(26), radius * 0.015));
  p.drawEllipse(centre, radius * 0.34, radius * 0.34);
  p.setPen(Qt::NoPen);
  QRadialGradient pupil(centre, radius * 0.25);
  pupil.setColorAt(0, withAlpha(40));
  pupil.setColorAt(0.9, withAlpha(40));
  pupil.setColorAt(1, withAlpha(0));
  p.setBrush(pupil);
  p.drawEllipse(centre, radius * 0.25, radius * 0.25);
  p.setBrush(QColor(255, 255, 255, 140));
  p.drawEllipse(centre + QPointF(radius * 0.09, -radius * 0.11), radius * 0.05, radius * 0.05);
  p.restore();
}

}  // namespace

QImage TitleBackground() {
  return Supersampled(kWidth, kHeight, Qt::white, 2, [](QPainter& p) {
    FillGradient(p, QColor(228, 240, 250), QColor(252, 250, 244));
    // Soft light behind the two title lines.
    QRadialGradient glow(QPointF(330, 250), 330);
    glow.setColorAt(0, QColor(255, 255, 255, 200));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), glow);
    FaintIris(p, QPointF(590, 450), 240, QColor(40, 110, 150), 5);
    FaintIris(p, QPointF(50, 480), 110, QColor(60, 120, 110), 6);
  });
}

QImage MenuBackground() {
  return Supersampled(kWidth, kHeight, Qt::white, 2, [](QPainter& p) {
    FillGradient(p, QColor(236, 246, 242), QColor(250, 249, 243));
    FaintIris(p, QPointF(630, 40), 180, QColor(50, 120, 120), 3);
    FaintIris(p, QPointF(30, 480), 120, QColor(40, 100, 150), 4);
  });
}

QImage PageBackground() {
  QImage image = Canvas(kWidth, kHeight, Qt::white);
  QPainter p(&image);
  FillGradient(p, QColor(250, 249, 244), QColor(242, 245, 249));
  return image;
}

}  // namespace assetgen
