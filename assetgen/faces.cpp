// 8faces.gif: the half-width of a white vase down the middle; the black ground on either side
// is a face in profile looking at the other one.
#include <QPolygonF>
#include <vector>

#include "assetgen/pictures.h"

namespace assetgen {

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

QImage VaseAndFaces(int density) {
  const QImage picture = Supersampled(329, 369, density, Qt::white, 3, [](QPainter& p) {
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

}  // namespace assetgen
