// The eye: a photograph-like close-up, the outside of the eyeball, its cross-section, how it
// forms an image, and the two marks of the blind-spot test. The diagrams leave the places of
// their page labels white and run a leader line from each part to beside its label.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "assetgen/labels.h"
#include "assetgen/pictures.h"

namespace assetgen {

namespace {

constexpr double kPi = std::numbers::pi;

QPointF Polar(QPointF centre, double radius, double degrees) {
  const double a = degrees * kPi / 180.0;
  return centre + QPointF(std::cos(a), std::sin(a)) * radius;
}

// A thin line from beside a label's text to the part it names, ending in a dot on the part.
void Leader(QPainter& p, const Diagram& diagram, const QString& label, QPointF part,
            QColor colour) {
  const QRectF text = diagram.TextRect(diagram.Label(label));
  const bool labelOnLeft = text.center().x() < part.x();
  QPointF start(labelOnLeft ? text.right() + 3 : text.left() - 3, text.center().y());
  start.setX(std::max(start.x(), 2.0));  // labels that overhang the picture's left edge
  p.save();
  p.setPen(QPen(colour, 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(start, part);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(part, 2.2, 2.2);
  p.restore();
}

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

// The radial pattern of an iris inside an ellipse: base colour, fibres, collarette, rim.
void IrisTexture(QPainter& p, QPointF c, double rx, double ry, QColor base, QColor light,
                 QColor dark, std::uint32_t seed) {
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

}  // namespace

// ---------------------------------------------------------------------------------------------
// realeye.jpg: a right eye seen from the front, nose side to the right. The menu button shows
// its middle 73 x 49 pixels, so the iris sits at the centre.

QImage RealEye() {
  QImage image = Supersampled(76, 94, QColor(220, 178, 156), 4, [](QPainter& p) {
    Rng rng(11);
    QLinearGradient skin(0, 0, 0, 94);
    skin.setColorAt(0, QColor(226, 186, 164));
    skin.setColorAt(0.35, QColor(214, 170, 148));
    skin.setColorAt(1, QColor(222, 180, 158));
    p.fillRect(QRectF(0, 0, 76, 94), skin);

    // Socket shadow under the brow and a soft highlight on the cheek.
    QRadialGradient socket(QPointF(38, 38), 34);
    socket.setColorAt(0, QColor(120, 70, 60, 70));
    socket.setColorAt(1, QColor(120, 70, 60, 0));
    p.fillRect(QRectF(0, 0, 76, 94), socket);
    QRadialGradient cheek(QPointF(30, 84), 26);
    cheek.setColorAt(0, QColor(255, 225, 205, 90));
    cheek.setColorAt(1, QColor(255, 225, 205, 0));
    p.fillRect(QRectF(0, 0, 76, 94), cheek);

    // Eyebrow: short hairs along an arch, thicker towards the nose (right), slanting up there
    // and lying flatter towards the tail.
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

    // The eye opening: an almond from the outer corner (left) to the inner corner (right).
    QPainterPath opening(QPointF(5, 49));
    opening.cubicTo(QPointF(14, 34), QPointF(44, 26), QPointF(70, 50));
    opening.cubicTo(QPointF(56, 62), QPointF(24, 65), QPointF(5, 49));

    // Lid crease above the opening.
    QPainterPath crease(QPointF(6, 42));
    crease.cubicTo(QPointF(18, 24), QPointF(48, 20), QPointF(70, 42));
    p.setPen(QPen(QColor(150, 95, 80, 120), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(crease);
    p.setPen(QPen(QColor(235, 200, 180, 120), 1.0));
    p.drawPath(crease.translated(0, 2.0));

    p.save();
    p.setClipPath(opening);
    // Sclera: white with a blush at the corners and the upper lid's shadow.
    p.fillRect(QRectF(0, 20, 76, 50), QColor(236, 228, 224));
    QRadialGradient inner(QPointF(70, 50), 16);
    inner.setColorAt(0, QColor(220, 120, 120, 220));
    inner.setColorAt(1, QColor(220, 140, 140, 0));
    p.fillRect(QRectF(0, 20, 76, 50), inner);
    QRadialGradient outer(QPointF(4, 49), 12);
    outer.setColorAt(0, QColor(200, 140, 130, 150));
    outer.setColorAt(1, QColor(200, 140, 130, 0));
    p.fillRect(QRectF(0, 20, 76, 50), outer);
    for (int i = 0; i < 6; ++i) {  // faint vessels
      const double y = rng.Range(44, 54);
      const double x = i < 3 ? rng.Range(9, 18) : rng.Range(58, 66);
      QPainterPath v(QPointF(x, y));
      v.quadTo(QPointF(x + rng.Range(-4, 4), y + rng.Range(-3, 3)),
               QPointF(x + (i < 3 ? 7 : -7), y + rng.Range(-3, 3)));
      p.setPen(QPen(QColor(200, 80, 80, 90), 0.4));
      p.drawPath(v);
    }
    const QPointF c(38, 46.5);
    IrisTexture(p, c, 14.5, 14.5, QColor(110, 78, 48), QColor(176, 132, 78), QColor(40, 28, 20),
                17);
    QRadialGradient pupil(c, 5.8);
    pupil.setColorAt(0, QColor(6, 6, 8));
    pupil.setColorAt(0.85, QColor(10, 8, 8));
    pupil.setColorAt(1, QColor(10, 8, 8, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(pupil);
    p.drawEllipse(c, 5.8, 5.8);
    QLinearGradient lidShadow(0, 28, 0, 44);
    lidShadow.setColorAt(0, QColor(40, 20, 15, 190));
    lidShadow.setColorAt(1, QColor(40, 20, 15, 0));
    p.fillRect(QRectF(0, 20, 76, 30), lidShadow);
    // Catch-light of a window, and a faint second one.
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(QRectF(41.5, 39.5, 4.2, 3.6), 1.4, 1.4);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(QPointF(33.5, 52), 1.2, 0.9);
    p.restore();

    // Lid margins: the dark lash line above, the moist rim below.
    QPainterPath upper(QPointF(5, 49));
    upper.cubicTo(QPointF(14, 34), QPointF(44, 26), QPointF(70, 50));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(45, 25, 20), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(upper);
    QPainterPath lower(QPointF(70, 50));
    lower.cubicTo(QPointF(56, 62), QPointF(24, 65), QPointF(5, 49));
    p.setPen(QPen(QColor(200, 120, 110), 1.0));
    p.drawPath(lower);
    p.setPen(QPen(QColor(110, 60, 50, 110), 0.6));
    p.drawPath(lower.translated(0, 1.2));

    // Upper lashes grow out of the lid margin and curl upwards, leaning towards the outer
    // corner; the lower ones are short and sparse.
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
      p.setPen(QPen(QColor(22, 14, 10, static_cast<int>(rng.Range(170, 240))),
                    rng.Range(0.35, 0.55), Qt::SolidLine, Qt::RoundCap));
      p.drawPath(lash);
    }
    for (int i = 0; i < 14; ++i) {
      const double t = 0.1 + 0.7 * rng.Unit();
      const QPointF root = lower.pointAtPercent(t) + QPointF(0, 1.0);
      const double len = rng.Range(1.5, 3.2);
      p.setPen(QPen(QColor(40, 26, 20, 120), 0.3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(root, root + QPointF((0.5 - t) * 2.5, len));
    }
  });
  AddGrain(image, 3, 7);
  return image;
}

// ---------------------------------------------------------------------------------------------
// eyefront.jpg: the eyeball from outside, seen from the front left: cornea, pupil and iris at
// the left, the muscles above and below, the optic nerve leaving at the back right.

QImage EyeFront() {
  const Diagram& d = EyeFrontLabels();
  return Supersampled(408, 286, Qt::white, 3, [&d](QPainter& p) {
    const QPointF c(208, 146);
    const double R = 106;
    const QColor muscle(186, 78, 66), muscleLight(222, 128, 110), tendon(236, 222, 206);

    // Muscles running back from the top and the bottom of the ball (behind it).
    auto drawMuscle = [&](QPointF attach1, QPointF attach2, QPointF end1, QPointF end2) {
      QPainterPath band(attach1);
      band.cubicTo(attach1 + (end1 - attach1) * 0.3 + QPointF(0, (end1.y() - c.y()) * 0.1),
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
      // Fibres along the band.
      p.setPen(QPen(QColor(255, 200, 190, 90), 0.7));
      for (double t = 0.2; t < 0.85; t += 0.15) {
        const QPointF a = attach1 + (attach2 - attach1) * t, b = end1 + (end2 - end1) * t;
        p.drawLine(a + (b - a) * 0.22, b - (b - a) * 0.04);
      }
    };
    drawMuscle(Polar(c, R - 2, -120), Polar(c, R - 2, -95), QPointF(326, 30), QPointF(330, 52));
    drawMuscle(Polar(c, R - 2, 95), Polar(c, R - 2, 122), QPointF(322, 266), QPointF(318, 246));

    // Optic nerve: a round cord leaving the back of the ball towards its label.
    {
      const QPointF from = Polar(c, R - 20, 24), to(336, 205);
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

    // The ball: white sclera, lit from the upper left.
    QRadialGradient ball(c + QPointF(-40, -45), R * 1.6);
    ball.setColorAt(0, QColor(255, 255, 253));
    ball.setColorAt(0.55, QColor(244, 238, 232));
    ball.setColorAt(1, QColor(196, 180, 176));
    p.setPen(QPen(QColor(130, 115, 112), 1.2));
    p.setBrush(ball);
    p.drawEllipse(c, R, R);

    // Fine vessels on the sclera.
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

    // Iris and pupil, foreshortened towards the viewer on the left.
    const QPointF ic(132, 146);
    IrisTexture(p, ic, 26, 52, QColor(92, 120, 150), QColor(160, 190, 215), QColor(30, 45, 70), 29);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 12, 16));
    p.drawEllipse(ic + QPointF(1, 0), 9.5, 19);

    // Cornea: a clear dome over the iris, its rim on the iris's edge, bulging out in front.
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

    const QColor ink(55, 55, 60);
    Leader(p, d, "角膜", QPointF(101, 112), ink);
    Leader(p, d, "瞳孔", QPointF(130, 142), ink);
    Leader(p, d, "虹膜", QPointF(136, 184), ink);
    Leader(p, d, "眼肌", QPointF(298, 44), ink);
    Leader(p, d, "鞏膜", QPointF(284, 96), ink);
    Leader(p, d, "視神經", QPointF(330, 204), ink);
  });
}

// ---------------------------------------------------------------------------------------------
// eyecross1.gif: a horizontal section through the eye, front to the left.

namespace {

// Colours of the eye diagrams; the GIF palettes are built from them.
const QColor kInk(50, 50, 62);
const QColor kSclera(246, 245, 240);
const QColor kCornea(186, 222, 244);
const QColor kAqueous(228, 242, 250);
const QColor kIris(150, 92, 48);
const QColor kLens(246, 230, 180);
const QColor kCiliary(160, 76, 64);
const QColor kChoroid(122, 48, 44);
const QColor kRetina(240, 148, 108);
const QColor kNerve(240, 218, 150);
const QColor kVitreous(236, 243, 248);

// The eye in section: a ball of centre c and radius R, the cornea towards `front`.
struct Section {
  QPointF c;
  double R;
  double front;       // direction of the cornea, degrees (180 = left)
  double nerveAt;     // where the optic nerve leaves, degrees from the front
  double corneaHalf;  // half the angle the cornea's opening takes on the ball, degrees

  QPointF At(double radius, double deg) const { return Polar(c, radius, front + deg); }
  QPointF Forward() const { return Polar(QPointF(0, 0), 1, front); }
  QPointF Side() const { return QPointF(-Forward().y(), Forward().x()); }
  double Sclera() const { return R * 0.085; }
  double Choroid() const { return R * 0.04; }
  double Retina() const { return R * 0.05; }
  double RetinaMiddle() const { return R - Sclera() - Choroid() - Retina() / 2; }
};

// Places on a drawn section that the leader lines point at.
struct SectionParts {
  QPointF cornea;  // middle of the cornea, halfway from apex to rim on the `side` half
  QPointF pupil;   // middle of the pupil
  QPointF lens;    // centre of the lens
  QPointF iris;    // middle of the iris flap on the far side of Side()
  double lensHalfHeight;
};

// Draws sclera, choroid, retina, cornea, iris, lens, and the optic nerve given as a path.
// The retina stops at the optic disc, where the nerve fibres leave: the blind spot.
SectionParts DrawSection(QPainter& p, const Section& s, const QPainterPath& nerve) {
  const double R = s.R, ch = s.corneaHalf;
  const double sclera = s.Sclera(), choroid = s.Choroid(), retina = s.Retina();
  const QPointF fwd = s.Forward(), side = s.Side();
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
  // Nerve fibres gathering into the disc, through the whole wall.
  p.setPen(Qt::NoPen);
  band(rRetina - 1.5, R + 1, disc - gap, disc + gap, kNerve);
  p.setPen(QPen(kInk, 0.6));
  p.drawLine(s.At(rRetina - 1.5, disc - gap), s.At(R - sclera, disc - gap));
  p.drawLine(s.At(rRetina - 1.5, disc + gap), s.At(R - sclera, disc + gap));

  // Cornea: a cap of smaller radius across the front opening, over the clear front chamber.
  const QPointF edgeA = s.At(R - 1, -ch), edgeB = s.At(R - 1, ch);
  const double half = QLineF(edgeA, edgeB).length() / 2;
  const double rc = R * 0.66;
  const QPointF mid = (edgeA + edgeB) / 2;
  const QPointF cc = mid - fwd * std::sqrt(rc * rc - half * half);
  const double span = std::asin(half / rc) * 180 / kPi;
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

  // Lens: biconvex, flatter in front, hung from the ciliary body by fine fibres.
  const QPointF irisRoot = mid - fwd * (R * 0.05);
  const QPointF lensC = mid - fwd * (R * 0.2);
  const double lh = R * 0.34, lb = R * 0.15, lf = R * 0.09;
  const QPointF top = lensC + side * lh, bottom = lensC - side * lh;
  for (int sign : {-1, 1}) {
    const QPointF rim = irisRoot + side * (sign * half * 0.97);
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

  // Ciliary body in the wall's corner, iris resting on the lens's front.
  const double pupil = R * 0.13;
  QPointF irisMiddle;
  for (int sign : {-1, 1}) {
    const QPointF rim = irisRoot + side * (sign * half * 0.97);
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
  return SectionParts{Polar(cc, rc - t / 2, s.front + span * 0.5), irisRoot, lensC, irisMiddle, lh};
}

}  // namespace

QImage EyeCross() {
  const Diagram& d = EyeCrossLabels();
  const Section s{QPointF(192, 116), 106, 180, 196, 28};
  const QImage picture = Supersampled(408, 245, Qt::white, 3, [&](QPainter& p) {
    // Optic nerve: from the back of the ball, below the axis, bending up to end beside its
    // label.
    const QPointF root = s.At(s.R - 14, s.nerveAt), end(362, 126);
    QPainterPath axis(root);
    axis.cubicTo(root + QPointF(30, 4), end + QPointF(-36, 0), end);
    QPainterPathStroker stroker;
    stroker.setWidth(28);
    stroker.setCapStyle(Qt::FlatCap);
    const QPainterPath nerve = stroker.createStroke(axis).simplified();
    const SectionParts parts = DrawSection(p, s, nerve);

    const QColor ink(40, 40, 48);
    Leader(p, d, "角膜", parts.cornea, ink);
    Leader(p, d, "瞳孔", parts.pupil, ink);
    Leader(p, d, "晶狀體", parts.lens - s.Side() * (parts.lensHalfHeight * 0.45), ink);
    Leader(p, d, "虹膜", parts.iris, ink);
    Leader(p, d, "鞏膜", s.At(s.R - s.Sclera() / 2, 125), ink);
    Leader(p, d, "視網膜", s.At(s.RetinaMiddle(), 150), ink);
    Leader(p, d, "視神經", end - QPointF(16, -3), ink);
    Leader(p, d, "盲點", s.At(s.RetinaMiddle(), s.nerveAt), ink);
  });
  return ToPalette(picture,
                   BlendPalette({qRgb(255, 255, 255), kInk.rgb(), kSclera.rgb(), kCornea.rgb(),
                                 kAqueous.rgb(), kIris.rgb(), kLens.rgb(), kCiliary.rgb(),
                                 kChoroid.rgb(), kRetina.rgb(), kNerve.rgb(), kVitreous.rgb()},
                                3));
}

// ---------------------------------------------------------------------------------------------
// work.gif: light from an upright tree passes the pupil and the lens and forms an inverted image
// on the retina; the optic nerve leaves the back of the eye up to its label.

QImage EyeWorking() {
  const Diagram& d = EyeWorkingLabels();
  const Section s{QPointF(104, 120), 74, 0, 222, 28};
  const QColor leaf(60, 150, 66), trunk(132, 84, 40), rayTop(230, 130, 20), rayBottom(40, 110, 200);
  const QImage picture = Supersampled(309, 198, Qt::white, 3, [&](QPainter& p) {
    QPainterPath nerve;
    {
      const QPointF root = s.At(s.R - 10, s.nerveAt);
      const QPointF end(40, 30);
      QPainterPath axis(root);
      axis.cubicTo(root + QPointF(-14, -12), end + QPointF(-2, 18), end);
      QPainterPathStroker stroke;
      stroke.setWidth(16);
      stroke.setCapStyle(Qt::FlatCap);
      nerve = stroke.createStroke(axis).simplified();
    }
    const SectionParts parts = DrawSection(p, s, nerve);

    // Where light through the lens centre from a point meets the retina.
    const QPointF lens = parts.lens;
    const double retinaR = s.R - s.Sclera() - s.Choroid() - s.Retina();
    auto onRetina = [&](QPointF from) {
      const QPointF dir = (lens - from) / QLineF(from, lens).length();
      // Far intersection of lens + t*dir with the retina circle.
      const QPointF o = lens - s.c;
      const double b = QPointF::dotProduct(o, dir);
      const double cc = QPointF::dotProduct(o, o) - retinaR * retinaR;
      return lens + dir * (-b + std::sqrt(b * b - cc));
    };
    const QPointF treeTop(288, 98), treeBase(288, 140);
    const QPointF imgTop = onRetina(treeTop), imgBase = onRetina(treeBase);

    // Rays: from each end of the tree to three points of the pupil, then on to its image.
    for (auto [from, to, col] :
         {std::tuple{treeTop, imgTop, rayTop}, std::tuple{treeBase, imgBase, rayBottom}}) {
      p.setPen(QPen(col, 1.1));
      for (double off : {-6.0, 0.0, 6.0}) {
        const QPointF at = parts.pupil + QPointF(0, off);
        p.drawLine(from, at);
        p.drawLine(at, to);
      }
    }

    // The tree, upright, and its small image upside down on the retina.
    auto drawTree = [&](QPointF top, QPointF base) {
      const QPointF up = (top - base);
      const double h = QLineF(top, base).length();
      const QPointF side = QPointF(-up.y(), up.x()) / h;
      p.setPen(Qt::NoPen);
      p.setBrush(trunk);
      p.drawPolygon(QPolygonF{base + side * h * 0.06, base - side * h * 0.06,
                              base + up * 0.45 - side * h * 0.05,
                              base + up * 0.45 + side * h * 0.05});
      p.setBrush(leaf);
      p.setPen(QPen(leaf.darker(140), 0.8));
      p.drawPolygon(
          QPolygonF{top, base + up * 0.25 + side * h * 0.32, base + up * 0.25 - side * h * 0.32});
    };
    drawTree(treeTop, treeBase);
    drawTree(imgTop + (imgBase - imgTop) * 0.04, imgBase);

    const QColor ink(40, 40, 48);
    const QRectF lensLabel = d.TextRect(d.Label("晶狀體"));
    p.setPen(QPen(ink, 1.2));
    const QPointF lensTop = lens - s.Side() * (parts.lensHalfHeight * 0.6);
    p.drawLine(QPointF(lensLabel.center().x(), lensLabel.bottom() + 1), lensTop);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(lensTop, 2.0, 2.0);
  });
  return ToPalette(picture, BlendPalette({qRgb(255, 255, 255), kInk.rgb(), kSclera.rgb(),
                                          kCornea.rgb(), kAqueous.rgb(), kIris.rgb(), kLens.rgb(),
                                          kChoroid.rgb(), kRetina.rgb(), kNerve.rgb(), leaf.rgb(),
                                          trunk.rgb(), rayTop.rgb(), rayBottom.rgb()},
                                         2));
}

// ---------------------------------------------------------------------------------------------
// The blind-spot marks: a black dot and a black cross on white.

QImage SpotMark() {
  const QImage mark = Supersampled(39, 39, Qt::white, 4, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(19.5, 19.5), 13, 13);
  });
  return ToPalette(mark, BlendPalette({qRgb(255, 255, 255), qRgb(0, 0, 0)}, 14));
}

QImage CrossMark() {
  const QImage mark = Supersampled(39, 39, Qt::white, 4, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(QRectF(17, 5, 5, 29));
    p.drawRect(QRectF(5, 17, 29, 5));
  });
  return ToPalette(mark, BlendPalette({qRgb(255, 255, 255), qRgb(0, 0, 0)}, 14));
}


// ---------------------------------------------------------------------------------------------
// lumora.png: the program's icon for menus and software centres. An open eye on a transparent
// ground, blue iris and a large pupil, so that it still reads at 32 x 32.

QImage AppIcon() {
  constexpr int kSize = 256, kFactor = 4;
  QImage big(kSize * kFactor, kSize * kFactor, QImage::Format_ARGB32_Premultiplied);
  big.fill(Qt::transparent);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kFactor, kFactor);

    // The almond of the opening, corner to corner across the square.
    QPainterPath opening(QPointF(10, 128));
    opening.cubicTo(QPointF(56, 50), QPointF(200, 50), QPointF(246, 128));
    opening.cubicTo(QPointF(200, 206), QPointF(56, 206), QPointF(10, 128));

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
    IrisTexture(p, c, 62, 62, QColor(52, 120, 176), QColor(140, 196, 230), QColor(14, 40, 70),
                256);
    QRadialGradient pupil(c, 27);
    pupil.setColorAt(0, QColor(4, 6, 10));
    pupil.setColorAt(0.88, QColor(8, 10, 14));
    pupil.setColorAt(1, QColor(8, 10, 14, 0));
    p.setBrush(pupil);
    p.drawEllipse(c, 27, 27);
    QLinearGradient lidShadow(0, 60, 0, 104);
    lidShadow.setColorAt(0, QColor(20, 30, 50, 150));
    lidShadow.setColorAt(1, QColor(20, 30, 50, 0));
    p.fillRect(QRectF(0, 40, kSize, 64), lidShadow);
    p.setBrush(QColor(255, 255, 255, 240));
    p.drawEllipse(QPointF(146, 108), 11, 9);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QPointF(110, 150), 4.5, 3.5);
    p.restore();

    // The lid margins: a strong upper line, a lighter lower one.
    QPainterPath upper(QPointF(10, 128));
    upper.cubicTo(QPointF(56, 50), QPointF(200, 50), QPointF(246, 128));
    QPainterPath lower(QPointF(246, 128));
    lower.cubicTo(QPointF(200, 206), QPointF(56, 206), QPointF(10, 128));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(28, 36, 56), 10, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(upper);
    p.setPen(QPen(QColor(70, 80, 104), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(lower);
  }
  return big.scaled(kSize, kSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace assetgen
