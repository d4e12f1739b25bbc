#include "forms/picture.h"

#include <QPaintDevice>
#include <deque>

namespace forms {

namespace {

// Pictures drawn at a size of their own (full screen, 150 %) are resampled once and kept, so that
// a page change copies them pixel for pixel. As many are kept as the course's pictures take at
// the two sizes of page full screen (some 60 MiB on 1920 x 1080); the designed window makes none.
QPixmap Resampled(const QPixmap& source, QSize size) {
  struct Kept {
    qint64 source;
    QSize size;
    QPixmap pixmap;
  };
  constexpr qint64 kKeptBytes = 96 << 20;
  static std::deque<Kept> kept;  // the most recent first
  static qint64 bytes = 0;
  for (auto it = kept.begin(); it != kept.end(); ++it)
    if (it->source == source.cacheKey() && it->size == size) {
      Kept found = *it;
      kept.erase(it);
      kept.push_front(found);
      return found.pixmap;
    }
  QPixmap pixmap = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  kept.push_front({source.cacheKey(), size, pixmap});
  bytes += qint64(size.width()) * size.height() * 4;
  while (bytes > kKeptBytes && kept.size() > 1) {
    bytes -= qint64(kept.back().size.width()) * kept.back().size.height() * 4;
    kept.pop_back();
  }
  return pixmap;
}

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
  // In the screen's own pixels, from the variant resampled to the size it is shown at (none
  // needed where a pixel of the screen is a pixel of the variant): a plain copy.
  const qreal ratio = painter.device()->devicePixelRatioF();
  const QSize screen = (QSizeF(picture_.pixmap.size()) * (scale * ratio)).toSize();
  const QPixmap fitted = screen == source.size() ? source : Resampled(source, screen);
  painter.save();
  painter.scale(1 / ratio, 1 / ratio);
  painter.drawPixmap(at * ratio, fitted);
  painter.restore();
}

}  // namespace forms
