#include "optical/spiralrenderer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Stripe greys: not quite black and white, which is easier on the eyes over thirty seconds.
constexpr int kDarkGrey = 24;
constexpr int kLightGrey = 232;
// How sharp a stripe's edges are; higher is harder, lower is closer to a sine wave.
constexpr double kEdgeSharpness = 4.0;

constexpr qreal kCentreDiscRadius = 20.0;
constexpr qreal kFixationRadius = 4.0;
const QColor kCentreDisc(128, 128, 128);
const QColor kCueTrack(118, 118, 118);
const QColor kCueFill(172, 172, 172);
const QColor kFixation(220, 30, 30);
const QColor kMessageBackground(255, 255, 248);
const QColor kMessageText(32, 32, 32);

constexpr qreal kMessageMaxPixelSize = 22.0;
constexpr qreal kMessagePadding = 10.0;
constexpr qreal kMessageGap = 14.0;  // between the centre disc and the message box

}  // namespace

QString SpiralRenderer::MessageText() { return QStringLiteral("請看看你放在滑鼠上的右手！"); }

void SpiralRenderer::Resize(QSize logicalSize, qreal devicePixelRatio) {
  if (logicalSize == size_ && devicePixelRatio == dpr_ && !frame_.isNull()) return;
  size_ = logicalSize.expandedTo(QSize(1, 1));
  dpr_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  if (!stripeBuilt_) BuildStripeTable();
  BuildPhaseMap();

  messageFont_ = QFont();
  messageFont_.setFamilies({QStringLiteral("AR PL UMing TW"), QStringLiteral("PMingLiU"),
                            QStringLiteral("新細明體"), QStringLiteral("Noto Sans CJK TC"),
                            QStringLiteral("Noto Serif CJK TC"),
                            QStringLiteral("Microsoft JhengHei")});
  messageFont_.setBold(true);
  messageFont_.setPixelSize(int(kMessageMaxPixelSize));
  // Shrink the message until it fits a narrow window.
  while (messageFont_.pixelSize() > 10) {
    const qreal width = QFontMetricsF(messageFont_).horizontalAdvance(MessageText());
    if (width + 2 * kMessagePadding <= size_.width() * 0.92) break;
    messageFont_.setPixelSize(messageFont_.pixelSize() - 1);
  }
}

QPointF SpiralRenderer::Centre() const {
  return QPointF(size_.width() / 2.0, size_.height() / 2.0);
}

void SpiralRenderer::BuildStripeTable() {
  const double norm = std::tanh(kEdgeSharpness);
  for (int i = 0; i < kPhaseSteps; ++i) {
    const double t = double(i) / kPhaseSteps;
    const double v =
        0.5 + 0.5 * std::tanh(kEdgeSharpness * std::sin(2 * std::numbers::pi * t)) / norm;
    const int grey = int(std::lround(kDarkGrey + (kLightGrey - kDarkGrey) * v));
    stripe_[std::size_t(i)] = qRgb(grey, grey, grey);
  }
  stripeBuilt_ = true;
}

void SpiralRenderer::BuildPhaseMap() {
  const int w = std::max(1, int(std::lround(size_.width() * dpr_)));
  const int h = std::max(1, int(std::lround(size_.height() * dpr_)));
  frame_ = QImage(w, h, QImage::Format_RGB32);
  frame_.setDevicePixelRatio(dpr_);
  phase_.assign(std::size_t(w) * std::size_t(h), 0);

  // Distance between neighbouring arms along a radius, in logical pixels.
  const double armSpacing = std::max(24.0, std::min(size_.width(), size_.height()) / 12.0);
  const double cx = w / 2.0;
  const double cy = h / 2.0;
  for (int y = 0; y < h; ++y) {
    const double dy = (y + 0.5 - cy) / dpr_;
    std::uint16_t* row = phase_.data() + std::size_t(y) * std::size_t(w);
    for (int x = 0; x < w; ++x) {
      const double dx = (x + 0.5 - cx) / dpr_;
      const double r = std::hypot(dx, dy);
      // atan2 in screen coordinates (y down) grows clockwise.
      const double phi = std::atan2(dy, dx);
      double phase = r / armSpacing - kArms * phi / (2 * std::numbers::pi);
      phase -= std::floor(phase);
      row[x] = std::uint16_t(int(phase * kPhaseSteps) & (kPhaseSteps - 1));
    }
  }
}

void SpiralRenderer::PaintSpiral(double angleDegrees) {
  // Turning clockwise by a moves what was at (r, phi - a) to (r, phi), which
  // adds kArms * a / 360 cycles to the phase everywhere.
  double cycles = std::fmod(angleDegrees / 360.0 * kArms, 1.0);
  if (cycles < 0) cycles += 1.0;
  const unsigned offset = unsigned(std::lround(cycles * kPhaseSteps)) & (kPhaseSteps - 1);

  const int w = frame_.width();
  const int h = frame_.height();
  const QRgb* stripe = stripe_.data();
  for (int y = 0; y < h; ++y) {
    const std::uint16_t* phase = phase_.data() + std::size_t(y) * std::size_t(w);
    auto* out = reinterpret_cast<QRgb*>(frame_.scanLine(y));
    for (int x = 0; x < w; ++x) out[x] = stripe[(phase[x] + offset) & (kPhaseSteps - 1)];
  }
}

void SpiralRenderer::Render(QPainter& painter, double angleDegrees, double cueProgress) {
  if (frame_.isNull()) return;
  PaintSpiral(angleDegrees);
  painter.drawImage(QPointF(0, 0), frame_);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const double progress = std::clamp(cueProgress, 0.0, 1.0);
  PaintCentre(painter, progress);
  if (progress >= 1.0) PaintMessage(painter);
  painter.restore();
}

void SpiralRenderer::PaintCentre(QPainter& painter, double progress) const {
  const QPointF c = Centre();
  painter.setPen(Qt::NoPen);
  painter.setBrush(kCentreDisc);
  painter.drawEllipse(c, kCentreDiscRadius, kCentreDiscRadius);

  const QRectF ring(c.x() - kCueRingRadius, c.y() - kCueRingRadius, 2 * kCueRingRadius,
                    2 * kCueRingRadius);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kCueTrack, 2.0, Qt::SolidLine, Qt::FlatCap));
  painter.drawEllipse(ring);
  if (progress > 0) {
    // From twelve o'clock, clockwise (Qt counts arcs anticlockwise, in 1/16 degree).
    painter.setPen(QPen(kCueFill, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(ring, 90 * 16, -int(std::lround(progress * 360 * 16)));
  }

  painter.setPen(Qt::NoPen);
  painter.setBrush(kFixation);
  painter.drawEllipse(c, kFixationRadius, kFixationRadius);
}

QRectF SpiralRenderer::MessageRect() const {
  const QFontMetricsF metrics(messageFont_);
  const qreal width = metrics.horizontalAdvance(MessageText()) + 2 * kMessagePadding;
  const qreal height = metrics.height() + kMessagePadding;
  const QPointF c = Centre();
  return QRectF(c.x() - width / 2, c.y() + kCentreDiscRadius + kMessageGap, width, height);
}

void SpiralRenderer::PaintMessage(QPainter& painter) const {
  const QRectF box = MessageRect();
  painter.setPen(Qt::NoPen);
  painter.setBrush(kMessageBackground);
  painter.drawRoundedRect(box, 8, 8);
  painter.setFont(messageFont_);
  painter.setPen(kMessageText);
  painter.drawText(box, Qt::AlignCenter, MessageText());
}
