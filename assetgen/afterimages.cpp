// Afterimages: the light bulb and the coloured squares, and the plain fields their afterimages
// are seen on, each with the point to fix the eye on at the same place.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "assetgen/geometry.h"
#include "assetgen/pictures.h"

namespace assetgen {

namespace {

// The point the eye rests on in both bulb pictures, so that the afterimage lands on the place
// of the bulb.
constexpr QPointF kBulbCentre(128.5, 150);

void FixationDot(QPainter& p, QPointF at, QColor colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(at, 2.2, 2.2);
}

}  // namespace

// A "negative" bulb: deep blue glass, dark rays and a pale screw base on white. After half a
// minute's stare the afterimage on a white field is a glowing yellow-white bulb with bright
// rays.
QImage LightBulb(int density) {
  return Supersampled(257, 377, density, Qt::white, 3, [](QPainter& p) {
    const QPointF c = kBulbCentre;
    // Rays.
    p.setPen(QPen(QColor(20, 20, 90), 7, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 13; ++i) {
      const double a = (-90 + (i - 6) * 22.0) * kPi / 180;
      const QPointF dir(std::cos(a), std::sin(a));
      p.drawLine(c + dir * 96, c + dir * (i % 2 ? 112 : 122));
    }
    // Glass: a globe narrowing into the neck.
    QPainterPath glass;
    glass.moveTo(c.x() - 34, 262);
    glass.cubicTo(c.x() - 36, 236, c.x() - 80, 210, c.x() - 80, c.y());
    glass.arcTo(QRectF(c.x() - 80, c.y() - 80, 160, 160), 180, -180);
    glass.cubicTo(c.x() + 80, 210, c.x() + 36, 236, c.x() + 34, 262);
    glass.closeSubpath();
    QRadialGradient g(c + QPointF(-24, -30), 120);
    g.setColorAt(0, QColor(40, 40, 120));
    g.setColorAt(0.6, QColor(14, 14, 70));
    g.setColorAt(1, QColor(4, 4, 30));
    p.setPen(QPen(QColor(0, 0, 20), 2));
    p.setBrush(g);
    p.drawPath(glass);
    // Filament on its two wires, pale on the dark glass.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 150, 190), 1.6));
    p.drawLine(QPointF(c.x() - 10, 250), QPointF(c.x() - 18, c.y() + 8));
    p.drawLine(QPointF(c.x() + 10, 250), QPointF(c.x() + 18, c.y() + 8));
    QPainterPath filament(QPointF(c.x() - 18, c.y() + 8));
    for (int k = 0; k < 6; ++k) {
      filament.lineTo(c.x() - 15 + k * 6, c.y() + (k % 2 ? 8 : -2));
    }
    filament.lineTo(c.x() + 18, c.y() + 8);
    p.setPen(QPen(QColor(235, 235, 255), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(filament);
    // Screw base and contact.
    QLinearGradient metal(c.x() - 36, 0, c.x() + 36, 0);
    metal.setColorAt(0, QColor(170, 170, 176));
    metal.setColorAt(0.4, QColor(235, 235, 240));
    metal.setColorAt(1, QColor(150, 150, 156));
    p.setPen(QPen(QColor(90, 90, 96), 1.2));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(c.x() - 36, 260, 72, 58), 6, 6);
    p.setPen(QPen(QColor(110, 110, 116), 2.2));
    for (int k = 0; k < 5; ++k) {
      const double y = 270 + k * 10;
      p.drawLine(QPointF(c.x() - 35, y), QPointF(c.x() + 35, y + 4));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 64));
    QPainterPath tip(QPointF(c.x() - 26, 318));
    tip.cubicTo(c.x() - 20, 338, c.x() + 20, 338, c.x() + 26, 318);
    tip.closeSubpath();
    p.drawPath(tip);
    FixationDot(p, c, QColor(255, 255, 255));
  });
}

// The plain field the bulb's afterimage appears on, with the same fixation point.
QImage LightField(int density) {
  return Supersampled(257, 377, density, Qt::white, 3,
                      [](QPainter& p) { FixationDot(p, kBulbCentre, QColor(150, 150, 150)); });
}

namespace {

void FixationCross(QPainter& p) {
  const QPointF c(212.5, 196.5);
  p.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(c + QPointF(-9, 0), c + QPointF(9, 0));
  p.drawLine(c + QPointF(0, -9), c + QPointF(0, 9));
}

}  // namespace

// Four saturated squares round a small cross; their afterimages on white are cyan, magenta,
// yellow and blue.
QImage ColourSquares(int density) {
  return Supersampled(425, 393, density, Qt::white, 2, [](QPainter& p) {
    constexpr double side = 150, gap = 30;
    const double left = (425 - 2 * side - gap) / 2, top = (393 - 2 * side - gap) / 2;
    const QColor colours[4] = {QColor(235, 0, 0), QColor(0, 175, 60), QColor(0, 60, 235),
                               QColor(255, 215, 0)};
    for (int i = 0; i < 4; ++i) {
      p.fillRect(QRectF(left + (i % 2) * (side + gap), top + (i / 2) * (side + gap), side, side),
                 colours[i]);
    }
    FixationCross(p);
  });
}

QImage WhiteField(int density) {
  return Supersampled(425, 393, density, Qt::white, 2, [](QPainter& p) { FixationCross(p); });
}

}  // namespace assetgen
