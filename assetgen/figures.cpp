// Afterimages and pictures with two readings: the light bulb and the coloured squares with the
// fields their afterimages are seen on, the vase between two faces, and the lady at her
// dressing table whose dark masses make a skull when seen from afar.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "assetgen/pictures.h"

namespace assetgen {

namespace {

constexpr double kPi = std::numbers::pi;

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
QImage LightBulb() {
  return Supersampled(257, 377, Qt::white, 3, [](QPainter& p) {
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
QImage LightField() {
  return Supersampled(257, 377, Qt::white, 3,
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
QImage ColourSquares() {
  return Supersampled(425, 393, Qt::white, 2, [](QPainter& p) {
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

QImage WhiteField() {
  return Supersampled(425, 393, Qt::white, 2, [](QPainter& p) { FixationCross(p); });
}

// ---------------------------------------------------------------------------------------------
// 8faces: the half-width of a white vase down the middle; the black ground on either side is a
// face in profile looking at the other one.

namespace {

// Catmull-Rom through (y, half-width) points, sampled every pixel row.
double VaseHalfWidth(double y) {
  static const std::vector<QPointF> profile = {
      {-10, 104}, {0, 104},  {22, 104}, {32, 86},   {62, 72},  {92, 78},  {104, 86}, {116, 84},
      {132, 70},  {150, 52}, {160, 42}, {166, 46},  {174, 60}, {184, 56}, {192, 52}, {198, 60},
      {204, 54},  {212, 56}, {224, 68}, {240, 56},  {254, 52}, {268, 64}, {284, 84}, {304, 94},
      {324, 96},  {342, 86}, {358, 96}, {369, 120}, {390, 124}};
  for (size_t i = 1; i + 2 < profile.size(); ++i) {
    if (y <= profile[i + 1].x()) {
      const QPointF p0 = profile[i - 1], p1 = profile[i], p2 = profile[i + 1], p3 = profile[i + 2];
      const double t = (y - p1.x()) / (p2.x() - p1.x());
      const double t2 = t * t, t3 = t2 * t;
      return 0.5 * (2 * p1.y() + (-p0.y() + p2.y()) * t +
                    (2 * p0.y() - 5 * p1.y() + 4 * p2.y() - p3.y()) * t2 +
                    (-p0.y() + 3 * p1.y() - 3 * p2.y() + p3.y()) * t3);
    }
  }
  return profile.back().y();
}

}  // namespace

QImage VaseAndFaces() {
  const QImage picture = Supersampled(329, 369, Qt::white, 3, [](QPainter& p) {
    const double cx = 329 / 2.0;
    for (int side : {-1, 1}) {
      QPolygonF face;
      face << QPointF(cx + side * 200, -1);
      for (double y = -1; y <= 370; y += 0.5) face << QPointF(cx + side * VaseHalfWidth(y), y);
      face << QPointF(cx + side * 200, 370);
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::black);
      p.drawPolygon(face);
    }
  });
  return ToPalette(picture, BlendPalette({qRgb(255, 255, 255), qRgb(0, 0, 0)}, 14));
}

// ---------------------------------------------------------------------------------------------
// 9head: a lady at her dressing table. The round mirror is the skull's crown; her dark hair
// and that of her reflection are the eye sockets, a dark decanter between them the nose, the
// jars along the table's edge the teeth and the white tablecloth the jaw. Seen sharp she is a
// lady; blurred, as from afar, the masses read as a skull.

namespace {

const QColor kHair(34, 24, 22), kHairLight(78, 56, 44), kSkin(236, 204, 184), kDress(236, 226, 228),
    kWall(58, 42, 48);

// The lady from the waist up, facing right; (0, 0) is the middle of her head. `shade`
// darkens her for the reflection. Seen from behind, her hair hides most of her cheek and only
// the line of her profile shows.
void DrawLady(QPainter& p, double shade, bool fromBehind) {
  auto tone = [shade](QColor c) { return c.darker(static_cast<int>(100 * shade)); };
  // Gown: a low back, sloping shoulders, a puffed sleeve on the near shoulder.
  QPainterPath gown(QPointF(-6, 34));
  gown.cubicTo(QPointF(-18, 36), QPointF(-34, 40), QPointF(-38, 56));
  gown.cubicTo(QPointF(-42, 72), QPointF(-40, 90), QPointF(-38, 104));
  gown.lineTo(QPointF(42, 104));
  gown.cubicTo(QPointF(42, 80), QPointF(38, 52), QPointF(20, 36));
  gown.cubicTo(QPointF(12, 40), QPointF(2, 40), QPointF(-6, 34));
  p.setPen(QPen(tone(QColor(176, 160, 170)), 0.8));
  p.setBrush(tone(kDress));
  p.drawPath(gown);
  p.setPen(QPen(tone(QColor(200, 186, 194)), 0.7));
  for (int k = 0; k < 4; ++k) {  // folds of the bodice
    p.drawLine(QPointF(-30 + k * 16, 60), QPointF(-34 + k * 18, 104));
  }
  p.setPen(QPen(tone(QColor(176, 160, 170)), 0.8));
  p.setBrush(tone(QColor(246, 238, 242)));
  p.drawEllipse(QPointF(-30, 50), 10, 9);
  p.setPen(QPen(tone(QColor(255, 255, 255)), 1.2));
  p.setBrush(Qt::NoBrush);
  QPainterPath lace(QPointF(-6, 35));
  lace.cubicTo(QPointF(2, 41), QPointF(12, 41), QPointF(20, 37));
  p.drawPath(lace);

  // Neck and face in profile.
  p.setPen(Qt::NoPen);
  QPainterPath neck(QPointF(0, 12));
  neck.lineTo(QPointF(13, 19));
  neck.cubicTo(QPointF(12, 26), QPointF(14, 33), QPointF(22, 37));
  neck.lineTo(QPointF(-8, 36));
  neck.cubicTo(QPointF(-4, 30), QPointF(-3, 22), QPointF(-5, 12));
  neck.closeSubpath();
  QLinearGradient neckShade(0, 14, 0, 30);
  neckShade.setColorAt(0, tone(kSkin.darker(125)));
  neckShade.setColorAt(1, tone(kSkin.darker(104)));
  p.setBrush(neckShade);
  p.drawPath(neck);
  QPainterPath face(QPointF(8, -22));
  face.cubicTo(QPointF(15, -20), QPointF(19, -14), QPointF(19, -8));
  face.cubicTo(QPointF(19, -5), QPointF(18, -4), QPointF(18.5, -3));
  face.cubicTo(QPointF(21, 0), QPointF(24, 2), QPointF(25, 3.8));
  face.cubicTo(QPointF(24, 5), QPointF(22.5, 5.2), QPointF(21.5, 5.6));
  face.cubicTo(QPointF(22.6, 7), QPointF(22.8, 8.2), QPointF(22, 9.2));
  face.lineTo(QPointF(21, 9.8));
  face.cubicTo(QPointF(22.3, 10.8), QPointF(22.3, 12.2), QPointF(20.8, 13.2));
  face.cubicTo(QPointF(20, 14), QPointF(20.4, 15), QPointF(21, 16.5));
  face.cubicTo(QPointF(21, 19.5), QPointF(18, 21), QPointF(14, 20.5));
  face.cubicTo(QPointF(10, 20), QPointF(6, 17), QPointF(3, 12));
  face.lineTo(QPointF(-10, 10));
  face.lineTo(QPointF(-10, -16));
  face.closeSubpath();
  p.setBrush(tone(kSkin));
  p.drawPath(face);
  p.setBrush(tone(QColor(236, 170, 160, 110)));  // a touch of rouge
  p.drawEllipse(QPointF(14, 6), 3.5, 2.5);
  p.setBrush(tone(QColor(196, 84, 90)));
  p.drawEllipse(QPointF(21.6, 8.2), 1.2, 0.9);
  p.drawEllipse(QPointF(21.3, 11.2), 1.1, 1.0);
  p.setPen(QPen(tone(QColor(40, 28, 26)), 0.9, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(13.5, -4.2), QPointF(17.2, -3.6));   // closed, downcast eye
  p.drawArc(QRectF(12.5, -10, 7, 4), 20 * 16, 120 * 16);  // brow
  p.setPen(Qt::NoPen);
  p.setBrush(tone(kSkin.darker(112)));
  p.drawEllipse(QPointF(1.5, 0), 3, 5);  // ear

  // Hair: swept up from the nape and the temple into a full knot, with a ribbon.
  QPainterPath hair(QPointF(9, -22));
  hair.cubicTo(QPointF(4, -38), QPointF(-26, -38), QPointF(-32, -16));
  hair.cubicTo(QPointF(-36, -2), QPointF(-28, 14), QPointF(-14, 19));
  hair.cubicTo(QPointF(-7, 15), QPointF(-4, 6), QPointF(-2, -5));
  hair.cubicTo(QPointF(3, -10), QPointF(9, -11), QPointF(13, -15));
  hair.closeSubpath();
  p.setBrush(tone(kHair));
  p.drawPath(hair);
  if (fromBehind) {
    QPainterPath cheek(QPointF(12, -16));
    cheek.cubicTo(QPointF(17, -8), QPointF(15, 4), QPointF(13, 12));
    cheek.cubicTo(QPointF(10, 17), QPointF(2, 18), QPointF(-4, 16));
    cheek.lineTo(QPointF(-4, -10));
    cheek.closeSubpath();
    p.drawPath(cheek);
  }
  p.drawEllipse(QPointF(-16, -31), 16, 13);
  p.setPen(QPen(tone(kHairLight), 0.7));
  p.setBrush(Qt::NoBrush);
  for (int k = 0; k < 5; ++k) {
    QPainterPath strand(QPointF(8 - k, -21 + k * 2));
    strand.quadTo(QPointF(-10, -30 + k * 5), QPointF(-25, -14 + k * 7));
    p.drawPath(strand);
  }
  p.drawArc(QRectF(-26, -38, 20, 14), 30 * 16, 140 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(tone(QColor(150, 40, 70)));
  p.drawEllipse(QPointF(-5, -35), 5, 3);
  p.drawEllipse(QPointF(-11, -34), 4, 3);
  if (!fromBehind) {
    p.setBrush(tone(QColor(246, 240, 230)));
    p.drawEllipse(QPointF(1, 3.5), 1.1, 1.1);  // a pearl at the ear
  }
}

void DrawDressingTable(QPainter& p) {
  Rng rng(91);
  // Dark wall with the soft folds of a curtain.
  p.fillRect(QRectF(0, 0, 273, 297), kWall);
  for (double x = -6; x < 273; x += rng.Range(10, 18)) {
    QLinearGradient fold(x, 0, x + 14, 0);
    fold.setColorAt(0, QColor(255, 255, 255, 0));
    fold.setColorAt(0.5, QColor(255, 230, 240, 18));
    fold.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(x, 0, 14, 297), fold);
  }

  // The round mirror in its gilt frame.
  const QPointF mc(136.5, 112);
  const double mr = 104;
  p.setPen(QPen(QColor(150, 112, 50), 5));
  QRadialGradient glass(mc + QPointF(-30, -40), mr * 1.4);
  glass.setColorAt(0, QColor(248, 246, 240));
  glass.setColorAt(1, QColor(214, 214, 206));
  p.setBrush(glass);
  p.drawEllipse(mc, mr, mr);
  p.setPen(QPen(QColor(210, 170, 90), 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(mc, mr + 2.2, mr + 2.2);
  // Reflected in it: the lady herself, a little smaller and greyer, facing the other way.
  p.save();
  p.setClipPath([&] {
    QPainterPath clip;
    clip.addEllipse(mc, mr - 2.5, mr - 2.5);
    return clip;
  }());
  p.translate(178, 126);
  p.scale(-1.12, 1.12);
  DrawLady(p, 1.22, false);
  p.restore();

  // The lady at the table, seen from behind her left shoulder; the table hides her below.
  p.save();
  p.setClipRect(QRectF(0, 0, 273, 214));
  p.translate(95, 126);
  p.scale(1.2, 1.2);
  DrawLady(p, 1.0, true);
  p.restore();

  // A dark decanter between the two heads.
  QPainterPath decanter(QPointF(136.5, 158));
  decanter.cubicTo(QPointF(132, 174), QPointF(119, 186), QPointF(123, 198));
  decanter.lineTo(QPointF(150, 198));
  decanter.cubicTo(QPointF(154, 186), QPointF(141, 174), QPointF(136.5, 158));
  p.setPen(QPen(QColor(10, 6, 12), 0.8));
  p.setBrush(QColor(26, 14, 30));
  p.drawPath(decanter);
  p.setBrush(QColor(26, 14, 30));
  p.drawEllipse(QPointF(136.5, 156), 3.2, 3.2);
  p.setPen(QPen(QColor(150, 120, 170, 150), 0.8));
  p.drawLine(QPointF(132, 180), QPointF(128, 192));

  // The mirror's dark wooden stand along the back of the table, and on the table in front
  // of it a row of little jars and bottles, white with dark gaps between them.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(52, 32, 24));
  p.drawRoundedRect(QRectF(64, 194, 145, 20), 3, 3);
  QPainterPath cloth(QPointF(50, 224));
  cloth.lineTo(QPointF(223, 224));
  cloth.cubicTo(QPointF(222, 256), QPointF(206, 284), QPointF(184, 297));
  cloth.lineTo(QPointF(89, 297));
  cloth.cubicTo(QPointF(67, 284), QPointF(51, 256), QPointF(50, 224));
  QLinearGradient linen(0, 224, 0, 297);
  linen.setColorAt(0, QColor(246, 244, 238));
  linen.setColorAt(1, QColor(214, 208, 200));
  p.setBrush(linen);
  p.drawPath(cloth);
  p.setPen(QPen(QColor(196, 188, 178), 1.0));
  for (double x = 64; x < 214; x += 12) {
    p.drawLine(QPointF(x, 234), QPointF(136.5 + (x - 136.5) * 0.72, 295));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(104, 66, 42));  // table top edge
  p.drawRect(QRectF(48, 220, 177, 5));
  for (int i = 0; i < 9; ++i) {
    const double x = 75 + i * 13.6;
    const double h = (i % 3 == 1 ? 25 : 22) - (i == 0 || i == 8 ? 3 : 0);
    QLinearGradient porcelain(x, 0, x + 11, 0);
    porcelain.setColorAt(0, QColor(214, 208, 206));
    porcelain.setColorAt(0.4, QColor(252, 250, 246));
    porcelain.setColorAt(1, QColor(200, 196, 196));
    p.setBrush(porcelain);
    p.setPen(QPen(QColor(70, 56, 50), 0.7));
    p.drawRoundedRect(QRectF(x, 221 - h, 11, h), 3.5, 3.5);
    p.setBrush(i % 2 ? QColor(190, 150, 80) : QColor(170, 110, 140));
    p.drawRoundedRect(QRectF(x + 2.5, 219 - h, 6, 3.2), 1, 1);  // lids and stoppers
  }
}

QImage DressingTable() {
  return Supersampled(273, 297, kWall, 3, DrawDressingTable);
}

}  // namespace

QImage LadyCloseUp() {
  QImage image = DressingTable();
  AddGrain(image, 2, 19);
  return image;
}

QImage SkullFromAfar() {
  return Blurred(DressingTable(), 5);
}

}  // namespace assetgen
