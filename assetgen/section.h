// The eye in section, shared by the cross-section (eyecross1.gif) and the picture of how the
// eye forms an image (work.gif): the same parts in the same colours, the two pictures only
// place, size and turn it differently.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

#include "assetgen/geometry.h"

namespace assetgen {

// Colours of the eye diagrams; the GIF palettes are built from them.
inline const QColor kInk(50, 50, 62);
inline const QColor kSclera(246, 245, 240);
inline const QColor kCornea(186, 222, 244);
inline const QColor kAqueous(228, 242, 250);
inline const QColor kIris(150, 92, 48);
inline const QColor kLens(246, 230, 180);
inline const QColor kCiliary(160, 76, 64);
inline const QColor kChoroid(122, 48, 44);
inline const QColor kRetina(240, 148, 108);
inline const QColor kNerve(240, 218, 150);
inline const QColor kVitreous(236, 243, 248);

// A ball of centre c and radius R, the cornea towards `front`.
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
SectionParts DrawSection(QPainter& p, const Section& s, const QPainterPath& nerve);

// The optic nerve as a band of the given width along a path from the back of the ball.
QPainterPath NerveAlong(const QPainterPath& axis, double width);

}  // namespace assetgen
