#include "optical/spiralwindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kPreferredSide = 600;
constexpr int kMinimumSide = 240;
}  // namespace

SpiralWindow::SpiralWindow(std::chrono::milliseconds cueDuration, QWidget* parent)
    : QWidget(parent), cueDuration_(cueDuration) {
  setWindowTitle(QStringLiteral("動畫"));
  // Every frame covers the whole window, so no background fill beforehand.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(kMinimumSide, kMinimumSide);

  frameTimer_.setSingleShot(true);
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, [this] {
    update();
    ScheduleNextFrame();
  });

  PlaceOnScreen();
}

void SpiralWindow::PlaceOnScreen() {
  const QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
  int side = kPreferredSide;
  if (scr) {
    const QRect avail = scr->availableGeometry();
    // Leave room for the window frame on small screens.
    side =
        std::clamp(std::min(avail.width(), avail.height()) * 9 / 10, kMinimumSide, kPreferredSide);
    resize(side, side);
    move(avail.center() - QPoint(side / 2, side / 2));
  } else {
    resize(side, side);
  }
}

double SpiralWindow::ElapsedMs() const {
  return clock_.isValid() ? double(clock_.nsecsElapsed()) / 1e6 : 0.0;
}

double SpiralWindow::Angle() const { return ElapsedMs() * kDegreesPerSecond / 1000.0; }

double SpiralWindow::CueProgress() const {
  if (cueDuration_.count() <= 0) return 1.0;
  return std::min(1.0, ElapsedMs() / double(cueDuration_.count()));
}

bool SpiralWindow::CueComplete() const { return CueProgress() >= 1.0; }

double SpiralWindow::FramePeriodMs() const {
  double rate = screen() ? screen()->refreshRate() : 60.0;
  if (!(rate >= 24.0 && rate <= 240.0)) rate = 60.0;
  return 1000.0 / rate;
}

void SpiralWindow::ScheduleNextFrame() {
  // Aim at a fixed grid of frame times, so that the whole-millisecond timer
  // still averages out to the display's rate; a late frame is dropped rather
  // than followed by a burst.
  const double period = FramePeriodMs();
  const double now = ElapsedMs();
  const double next = (std::floor(now / period + 0.5) + 1.0) * period;
  frameTimer_.start(std::max(1, int(std::lround(next - now))));
}

void SpiralWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!clock_.isValid()) clock_.start();
  if (!frameTimer_.isActive()) ScheduleNextFrame();
}

void SpiralWindow::hideEvent(QHideEvent* event) {
  frameTimer_.stop();
  QWidget::hideEvent(event);
}

void SpiralWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  renderer_.Resize(size(), devicePixelRatioF());
}

void SpiralWindow::paintEvent(QPaintEvent*) {
  renderer_.Resize(size(), devicePixelRatioF());  // no-op unless the screen changed
  const double turned = Angle();
  QPainter painter(this);
  renderer_.Render(painter, turned, CueProgress());
  ++framesPainted_;
  lastPaintedAngle_ = turned;
  emit framePainted();
}

void SpiralWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

// The press of a key can go to another window while this one is only just taking the
// keyboard focus (the window that started the program, the window manager), and then only
// the release arrives here. An Esc release whose press never came closes the window as well,
// so that one Esc is always enough.
void SpiralWindow::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyReleaseEvent(event);
}
