// lumora.png: the program's icon for menus and software centres. An open eye on a transparent
// ground, blue iris and a large pupil, so that it still reads at 32 x 32.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "assetgen/iris.h"
#include "assetgen/pictures.h"

namespace assetgen {

namespace {

constexpr int kSize = 256, kFactor = 4;

// The almond of the opening, corner to corner across the square: the upper lid's curve out
// and the lower lid's back.
QPainterPath UpperLid() {
  QPainterPath upper(QPointF(10, 128));
  upper.cubicTo(QPointF(56, 50), QPointF(200, 50), QPointF(246, 128));
  return upper;
}

QPainterPath LowerLid() {
  QPainterPath lower(QPointF(246, 128));
  lower.cubicTo(QPointF(200, 206), QPointF(56, 206), QPointF(10, 128));
  return lower;
}

QPainterPath Opening() {
  QPainterPath opening(QPointF(10, 128));
  opening.cubicTo(QPointF(56, 50), QPointF(200, 50), QPointF(246, 128));
  opening.cubicTo(QPointF(200, 206), QPointF(56, 206), QPointF(10, 128));
  return opening;
}

// The white, the iris and pupil, the upper lid's shadow and two catch-lights, all inside the
// opening.
void Eyeball(QPainter& p, const QPainterPath& opening) {
  QRadialGradient sclera(QPointF(128, 118), 130);
  sclera.setColorAt(0, QColor(255, 255, 255));
  sclera.setColorAt(0.7, QColor(236, 238, 242));
  sclera.setColorAt(1, QColor(196, 200, 212));
  p.setPen(Qt::NoPen);
  p.setBrush(sclera);
  p.drawPath(opening);

  p.save();
  p.setClipPath(opening);
  const QPointF c(128, 128);
  IrisTexture(p, c, 62, 62, {QColor(52, 120, 176), QColor(140, 196, 230), QColor(14, 40, 70)}, 256);
  DrawPupil(p, c, {27, QColor(4, 6, 10), QColor(8, 10, 14), 0.88});
  QLinearGradient lidShadow(0, 60, 0, 104);
  lidShadow.setColorAt(0, QColor(20, 30, 50, 150));
  lidShadow.setColorAt(1, QColor(20, 30, 50, 0));
  p.fillRect(QRectF(0, 40, kSize, 64), lidShadow);
  p.setBrush(QColor(255, 255, 255, 240));
  p.drawEllipse(QPointF(146, 108), 11, 9);
  p.setBrush(QColor(255, 255, 255, 110));
  p.drawEllipse(QPointF(110, 150), 4.5, 3.5);
  p.restore();
}

// The lid margins: a strong upper line, a lighter lower one.
void LidMargins(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(28, 36, 56), 10, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(UpperLid());
  p.setPen(QPen(QColor(70, 80, 104), 6, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(LowerLid());
}

}  // namespace

QImage AppIcon() {
  QImage big(kSize * kFactor, kSize * kFactor, QImage::Format_ARGB32_Premultiplied);
  big.fill(Qt::transparent);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kFactor, kFactor);
    Eyeball(p, Opening());
    LidMargins(p);
  }
  return big.scaled(kSize, kSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace assetgen
