#include "forms/picture.h"

#include <QPaintDevice>

namespace forms {

namespace {

Variant Read(const Picture& picture, double density) {
  Variant v = picture.variant ? picture.variant(density) : Variant();
  return v.pixmap.isNull() ? Variant() : v;
}

}  // namespace

void ShownPicture::Set(const Picture& picture, double density) {
  Variant sharp = Read(picture, density);
  picture_ = picture;
  sharp_ = std::move(sharp);
}

void ShownPicture::Sharpen(double density) {
  if (!IsNull()) sharp_ = Read(picture_, density);
}

void ShownPicture::Draw(QPainter& painter, QPointF at, double scale) const {
  if (IsNull()) return;
  const QPixmap& source = sharp_.pixmap.isNull() ? picture_.pixmap : sharp_.pixmap;
  if (scale == 1 && sharp_.pixmap.isNull() && painter.device()->devicePixelRatioF() == 1) {
    painter.drawPixmap(at, source);  // the designed window: the file's own pixels
    return;
  }
  const QRectF target(at, QSizeF(picture_.pixmap.size()) * scale);
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(target, source, QRectF(source.rect()));
  painter.restore();
}

}  // namespace forms
