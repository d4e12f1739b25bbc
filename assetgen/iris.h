// The iris and the pupil, the one part of the eye that the course's pictures and the program's
// icon all show. Each caller passes its own colours and seeds, so each keeps its own look.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <cstdint>

namespace assetgen {

struct IrisColours {
  QColor base, light, dark;  // the body, and the fibres drawn over it
};

// The radial pattern of an iris inside an ellipse: base colour, fibres, collarette, rim.
void IrisTexture(QPainter& p, QPointF c, double rx, double ry, const IrisColours& colours,
                 std::uint32_t seed);

// A round pupil whose edge fades out from `edgeAt` (a share of the radius) to the rim, so that
// it sinks into the iris instead of sitting on it.
struct SoftPupil {
  double radius;
  QColor centre, edge;
  double edgeAt;
};
void DrawPupil(QPainter& p, QPointF c, const SoftPupil& pupil);

// A large, pale iris for a page background, drawn so faintly that text over it stays clear.
void FaintIris(QPainter& p, QPointF centre, double radius, QColor tint, std::uint32_t seed);

}  // namespace assetgen
