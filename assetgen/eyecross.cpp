// eyecross1.gif: a horizontal section through the eye, front to the left. The places of the
// page's labels stay white; a leader line runs from each part to beside its label.
#include "assetgen/labels.h"
#include "assetgen/pictures.h"
#include "assetgen/section.h"

namespace assetgen {

QImage EyeCross(int density) {
  const Diagram& d = EyeCrossLabels();
  const Section s{QPointF(192, 116), 106, 180, 196, 28};
  const QImage picture = Supersampled(408, 245, density, Qt::white, 3, [&](QPainter& p) {
    // Optic nerve: from the back of the ball, below the axis, bending up to end beside its
    // label.
    const QPointF root = s.At(s.R - 14, s.nerveAt), end(362, 126);
    QPainterPath axis(root);
    axis.cubicTo(root + QPointF(30, 4), end + QPointF(-36, 0), end);
    const SectionParts parts = DrawSection(p, s, NerveAlong(axis, 28));

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

}  // namespace assetgen
