// realeye.jpg: a right eye seen from the front, nose side to the right, drawn to look like a
// photograph. The menu button shows its middle 73 x 49 pixels, so the iris sits at the centre.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "assetgen/geometry.h"
#include "assetgen/iris.h"
#include "assetgen/pictures.h"

namespace assetgen {

namespace {

constexpr double kWidth = 76, kHeight = 94;

// The lid margins: from the outer corner (left) over the top to the inner corner (right), and
// back along the bottom. Together they close the almond of the opening.
QPainterPath UpperLid() {
  QPainterPath upper(QPointF(5, 49));
  upper.cubicTo(QPointF(14, 34), QPointF(44, 26), QPointF(70, 50));
  return upper;
}

QPainterPath LowerLid() {
  QPainterPath lower(QPointF(70, 50));
  lower.cubicTo(QPointF(56, 62), QPointF(24, 65), QPointF(5, 49));
  return lower;
}

QPainterPath Opening() {
  QPainterPath opening(QPointF(5, 49));
  opening.cubicTo(QPointF(14, 34), QPointF(44, 26), QPointF(70, 50));
  opening.cubicTo(QPointF(56, 62), QPointF(24, 65), QPointF(5, 49));
  return opening;
}

// Skin, the socket's shadow under the brow and a soft highlight on the cheek.
void Skin(QPainter& p) {
  const QRectF all(0, 0, kWidth, kHeight);
  QLinearGradient skin(0, 0, 0, kHeight);
  skin.setColorAt(0, QColor(226, 186, 164));
  skin.setColorAt(0.35, QColor(214, 170, 148));
  skin.setColorAt(1, QColor(222, 180, 158));
  p.fillRect(all, skin);
  QRadialGradient socket(QPointF(38, 38), 34);
  socket.setColorAt(0, QColor(120, 70, 60, 70));
  socket.setColorAt(1, QColor(120, 70, 60, 0));
  p.fillRect(all, socket);
  QRadialGradient cheek(QPointF(30, 84), 26);
  cheek.setColorAt(0, QColor(255, 225, 205, 90));
  cheek.setColorAt(1, QColor(255, 225, 205, 0));
  p.fillRect(all, cheek);
}

// Short hairs along an arch, thicker towards the nose (right), slanting up there and lying
// flatter towards the tail.
void Eyebrow(QPainter& p, Rng& rng) {
  for (int i = 0; i < 320; ++i) {
    const double t = rng.Unit();
    const double x = 6 + 64 * t;
    const double arch = 19 - 9 * std::sin(kPi * std::pow(1 - t, 1.6));
    const double thick = 1.5 + 3.5 * t;
    const QPointF a(x, arch + rng.Range(-thick, thick) * 0.6);
    const double ang = (t > 0.8 ? -70 : -8 - 25 * t) + rng.Range(-10, 10);
    const double len = rng.Range(2.5, 5.0);
    QColor hair(60 + rng.Range(-12, 12), 40, 30, static_cast<int>(rng.Range(110, 210)));
    p.setPen(QPen(hair, rng.Range(0.3, 0.55), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, a + QPointF(-std::cos(ang * kPi / 180) * len, std::sin(ang * kPi / 180) * len));
  }
}

// The lid's crease above the opening, with the light on its fold.
void Crease(QPainter& p) {
  QPainterPath crease(QPointF(6, 42));
  crease.cubicTo(QPointF(18, 24), QPointF(48, 20), QPointF(70, 42));
  p.setPen(QPen(QColor(150, 95, 80, 120), 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawPath(crease);
  p.setPen(QPen(QColor(235, 200, 180, 120), 1.0));
  p.drawPath(crease.translated(0, 2.0));
}

// The white of the eye: a blush at both corners and a few faint vessels.
void Sclera(QPainter& p, Rng& rng) {
  const QRectF band(0, 20, 76, 50);
  p.fillRect(band, QColor(236, 228, 224));
  QRadialGradient inner(QPointF(70, 50), 16);
  inner.setColorAt(0, QColor(220, 120, 120, 220));
  inner.setColorAt(1, QColor(220, 140, 140, 0));
  p.fillRect(band, inner);
  QRadialGradient outer(QPointF(4, 49), 12);
  outer.setColorAt(0, QColor(200, 140, 130, 150));
  outer.setColorAt(1, QColor(200, 140, 130, 0));
  p.fillRect(band, outer);
  for (int i = 0; i < 6; ++i) {
    const double y = rng.Range(44, 54);
    const double x = i < 3 ? rng.Range(9, 18) : rng.Range(58, 66);
    QPainterPath v(QPointF(x, y));
    v.quadTo(QPointF(x + rng.Range(-4, 4), y + rng.Range(-3, 3)),
             QPointF(x + (i < 3 ? 7 : -7), y + rng.Range(-3, 3)));
    p.setPen(QPen(QColor(200, 80, 80, 90), 0.4));
    p.drawPath(v);
  }
}

// What shows inside the opening: sclera, a brown iris and its pupil, the upper lid's shadow,
// the catch-light of a window and a faint second one.
void Eyeball(QPainter& p, Rng& rng) {
  p.save();
  p.setClipPath(Opening());
  Sclera(p, rng);
  const QPointF c(38, 46.5);
  IrisTexture(p, c, 14.5, 14.5, {QColor(110, 78, 48), QColor(176, 132, 78), QColor(40, 28, 20)},
              17);
  DrawPupil(p, c, {5.8, QColor(6, 6, 8), QColor(10, 8, 8), 0.85});
  QLinearGradient lidShadow(0, 28, 0, 44);
  lidShadow.setColorAt(0, QColor(40, 20, 15, 190));
  lidShadow.setColorAt(1, QColor(40, 20, 15, 0));
  p.fillRect(QRectF(0, 20, 76, 30), lidShadow);
  p.setBrush(QColor(255, 255, 255, 235));
  p.drawRoundedRect(QRectF(41.5, 39.5, 4.2, 3.6), 1.4, 1.4);
  p.setBrush(QColor(255, 255, 255, 90));
  p.drawEllipse(QPointF(33.5, 52), 1.2, 0.9);
  p.restore();
}

// The dark lash line above, the moist rim below.
void LidMargins(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(45, 25, 20), 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(UpperLid());
  const QPainterPath lower = LowerLid();
  p.setPen(QPen(QColor(200, 120, 110), 1.0));
  p.drawPath(lower);
  p.setPen(QPen(QColor(110, 60, 50, 110), 0.6));
  p.drawPath(lower.translated(0, 1.2));
}

// Upper lashes grow out of the lid margin and curl upwards, leaning towards the outer corner;
// the lower ones are short and sparse.
void Lashes(QPainter& p, Rng& rng) {
  const QPainterPath upper = UpperLid(), lower = LowerLid();
  for (int i = 0; i < 56; ++i) {
    const double t = 0.03 + 0.9 * rng.Unit();
    const QPointF root = upper.pointAtPercent(t);
    const double tangent = -upper.angleAtPercent(t) * kPi / 180;  // screen angle
    const QPointF along(std::cos(tangent), std::sin(tangent));
    const QPointF out(along.y(), -along.x());  // the lid's outward normal
    const double len = 4.0 + 4.0 * std::sin(kPi * std::min(t * 1.15, 1.0)) + rng.Range(-1.0, 1.0);
    const QPointF lean = -along * (0.35 + (0.6 - t) * 0.6);
    QPainterPath lash(root);
    lash.cubicTo(root + out * len * 0.5 + lean * len * 0.1,
                 root + out * len * 0.9 + lean * len * 0.4,
                 root + out * len * 0.8 + lean * len * 0.8 + QPointF(0, -len * 0.15));
    p.setPen(QPen(QColor(22, 14, 10, static_cast<int>(rng.Range(170, 240))), rng.Range(0.35, 0.55),
                  Qt::SolidLine, Qt::RoundCap));
    p.drawPath(lash);
  }
  for (int i = 0; i < 14; ++i) {
    const double t = 0.1 + 0.7 * rng.Unit();
    const QPointF root = lower.pointAtPercent(t) + QPointF(0, 1.0);
    const double len = rng.Range(1.5, 3.2);
    p.setPen(QPen(QColor(40, 26, 20, 120), 0.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(root, root + QPointF((0.5 - t) * 2.5, len));
  }
}

}  // namespace

QImage RealEye(int density) {
  QImage image = Supersampled(76, 94, density, QColor(220, 178, 156), 4, [](QPainter& p) {
    Rng rng(11);  // one sequence through all the stages, in this order
    Skin(p);
    Eyebrow(p, rng);
    Crease(p);
    Eyeball(p, rng);
    LidMargins(p);
    Lashes(p, rng);
  });
  AddGrain(image, 3, 7);
  return image;
}

}  // namespace assetgen
