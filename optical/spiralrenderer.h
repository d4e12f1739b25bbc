#pragma once

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QPainter;

// Draws one frame of the turning spiral, the fixation point, the thirty-second
// cue ring and, once the cue is complete, the look-at-your-hand message.
//
// The spiral is an Archimedean spiral with several arms. Turning such a spiral
// by an angle only shifts its stripe phase at every point, so the phase of
// each pixel is worked out once per size and a frame is a table lookup per
// pixel: no per-frame geometry, no per-frame image rotation.
class SpiralRenderer {
 public:
  // Arms of the spiral; a turn of 360 / kArms degrees brings it back onto itself.
  static constexpr int kArms = 4;

  // Size in logical pixels and the device pixel ratio of the target.
  void Resize(QSize logicalSize, qreal devicePixelRatio);
  QSize Size() const { return size_; }

  // Paints the whole area (0,0)-Size() with the spiral turned clockwise by
  // angleDegrees. cueProgress runs from 0 (cue just started) to 1 (complete);
  // at 1 the message is shown.
  void Render(QPainter& painter, double angleDegrees, double cueProgress);

  // Where the message box goes, in logical pixels.
  QRectF MessageRect() const;
  // The centre point the pupil stares at, in logical pixels.
  QPointF Centre() const;
  // Radius of the cue ring around the centre point.
  static constexpr qreal kCueRingRadius = 14.0;

  static QString MessageText();

 private:
  static constexpr int kPhaseSteps = 4096;  // phase resolution per stripe cycle

  void BuildPhaseMap();
  void BuildStripeTable();
  void PaintSpiral(double angleDegrees);
  void PaintCentre(QPainter& painter, double cueProgress) const;
  void PaintMessage(QPainter& painter) const;

  QSize size_;
  qreal dpr_ = 1.0;
  std::vector<std::uint16_t> phase_;  // one entry per device pixel
  std::array<QRgb, kPhaseSteps> stripe_{};
  bool stripeBuilt_ = false;
  QImage frame_;
  QFont messageFont_;
};
