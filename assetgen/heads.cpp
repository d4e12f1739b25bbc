// 9head1.jpg and 9head2.jpg: a lady at her dressing table. The round mirror is the skull's
// crown; her dark hair and that of her reflection are the eye sockets, a dark decanter between
// them the nose, the jars along the table's edge the teeth and the white tablecloth the jaw.
// Seen sharp she is a lady; blurred, as from afar, the masses read as a skull.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "assetgen/pictures.h"

namespace assetgen {

namespace {

const QColor kHair(34, 24, 22), kHairLight(78, 56, 44), kSkin(236, 204, 184), kDress(236, 226, 228),
    kWall(58, 42, 48);

// Darkens the lady's colours for her reflection; 1 leaves them as they are.
struct Tone {
  double shade;
  QColor operator()(QColor c) const { return c.darker(static_cast<int>(100 * shade)); }
};

// Her gown: a low back, sloping shoulders, a puffed sleeve on the near shoulder.
void Gown(QPainter& p, Tone tone) {
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
}

// Neck and face in profile, with rouge, lips, a closed downcast eye, the brow and the ear.
void NeckAndFace(QPainter& p, Tone tone) {
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
}

// Hair swept up from the nape and the temple into a full knot, with a ribbon. Seen from behind,
// it hides most of her cheek and only the line of her profile shows.
void Hair(QPainter& p, Tone tone, bool fromBehind) {
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

// The lady from the waist up, facing right; (0, 0) is the middle of her head. `shade`
// darkens her for the reflection.
void DrawLady(QPainter& p, double shade, bool fromBehind) {
  const Tone tone{shade};
  Gown(p, tone);
  NeckAndFace(p, tone);
  Hair(p, tone, fromBehind);
}

// A dark wall with the soft folds of a curtain.
void Curtain(QPainter& p) {
  Rng rng(91);
  p.fillRect(QRectF(0, 0, 273, 297), kWall);
  for (double x = -6; x < 273; x += rng.Range(10, 18)) {
    QLinearGradient fold(x, 0, x + 14, 0);
    fold.setColorAt(0, QColor(255, 255, 255, 0));
    fold.setColorAt(0.5, QColor(255, 230, 240, 18));
    fold.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(x, 0, 14, 297), fold);
  }
}

// The round mirror in its gilt frame; reflected in it, the lady herself, a little smaller and
// greyer, facing the other way.
void Mirror(QPainter& p) {
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
}

// A dark decanter between the two heads.
void Decanter(QPainter& p) {
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
}

// The mirror's dark wooden stand along the back of the table, and on the table in front of it
// a row of little jars and bottles, white with dark gaps between them.
void TableWithJars(QPainter& p) {
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

void DrawDressingTable(QPainter& p) {
  Curtain(p);
  Mirror(p);
  // The lady at the table, seen from behind her left shoulder; the table hides her below.
  p.save();
  p.setClipRect(QRectF(0, 0, 273, 214));
  p.translate(95, 126);
  p.scale(1.2, 1.2);
  DrawLady(p, 1.0, true);
  p.restore();
  Decanter(p);
  TableWithJars(p);
}

QImage DressingTable(int density) {
  return Supersampled(273, 297, density, kWall, 3, DrawDressingTable);
}

}  // namespace

QImage LadyCloseUp(int density) {
  QImage image = DressingTable(density);
  AddGrain(image, 2, 19);
  return image;
}

// Blurred as much at every density: the blur's radius is in designed pixels.
QImage SkullFromAfar(int density) { return Blurred(DressingTable(density), 5 * density); }

}  // namespace assetgen
