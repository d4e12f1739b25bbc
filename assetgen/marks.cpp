// The blind-spot marks: a black dot and a black cross on white.
#include "assetgen/pictures.h"

namespace assetgen {

QImage SpotMark(int density) {
  const QImage mark = Supersampled(39, 39, density, Qt::white, 4, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(19.5, 19.5), 13, 13);
  });
  return ToPalette(mark, BlendPalette({qRgb(255, 255, 255), qRgb(0, 0, 0)}, 14));
}

QImage CrossMark(int density) {
  const QImage mark = Supersampled(39, 39, density, Qt::white, 4, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(QRectF(17, 5, 5, 29));
    p.drawRect(QRectF(5, 17, 29, 5));
  });
  return ToPalette(mark, BlendPalette({qRgb(255, 255, 255), qRgb(0, 0, 0)}, 14));
}

}  // namespace assetgen
