#pragma once

#include <QPainter>
#include <QPixmap>
#include <QString>
#include <functional>

namespace forms {

// The same picture drawn `factor` times as finely as the designed window shows it.
struct Variant {
  int factor = 1;
  QPixmap pixmap;
};

// A picture as read from a file, with a few words that say what it shows for screen readers.
struct Picture {
  QPixmap pixmap;  // as drawn for the designed window: its size is the picture's natural size
  QString description;
  // The variant drawn for a density (the screen's pixels for each designed pixel), read from
  // its file when asked: none (a null pixmap) where the picture itself serves or there is no
  // such file. Fails like any picture read.
  std::function<Variant(double density)> variant;
};

// A picture where a control shows it: its natural size, and the variant its density needs.
class ShownPicture {
 public:
  // Reads the variant the density needs; a failure leaves the control as it was.
  void Set(const Picture& picture, double density);
  // Reads the variant another density needs.
  void Sharpen(double density);

  bool IsNull() const { return picture_.pixmap.isNull(); }
  const QPixmap& Natural() const { return picture_.pixmap; }
  const QString& Description() const { return picture_.description; }
  // The variant drawn from, 1 for the picture itself.
  int Factor() const { return sharp_.factor; }

  // Draws the picture from its top-left corner at its natural size times the scale. Where the
  // screen's pixels are the picture's own, it is copied as it is; otherwise it is scaled
  // smoothly from the variant.
  void Draw(QPainter& painter, QPointF at, double scale) const;

 private:
  Picture picture_;
  Variant sharp_;  // none for the picture itself
};

}  // namespace forms
