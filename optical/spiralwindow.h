#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <chrono>

#include "optical/spiralrenderer.h"

// The animation window: a spiral that turns at a steady rate, one frame per
// display refresh, with a centre point to stare at. A quiet ring around the
// centre fills over the cue time; then the pupil is asked to look at the right
// hand. Esc or the close button closes it.
class SpiralWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr std::chrono::milliseconds kDefaultCue{30000};
  // Clockwise turn of the spiral; this way round its arms flow inwards.
  static constexpr double kDegreesPerSecond = 90.0;

  explicit SpiralWindow(std::chrono::milliseconds cueDuration = kDefaultCue,
                        QWidget* parent = nullptr);

  std::chrono::milliseconds CueDuration() const { return cueDuration_; }
  // Time since the window was first shown; zero before that.
  double ElapsedMs() const;
  // Total turn so far, in degrees (not wrapped).
  double Angle() const;
  double CueProgress() const;
  bool CueComplete() const;
  // Where the look-at-your-hand message appears once the cue is complete.
  QRectF MessageRect() const { return renderer_.MessageRect(); }

  // Frames painted so far and the angle of the latest one.
  qint64 FramesPainted() const { return framesPainted_; }
  double LastPaintedAngle() const { return lastPaintedAngle_; }

 signals:
  void framePainted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  double FramePeriodMs() const;
  void ScheduleNextFrame();
  void PlaceOnScreen();

  std::chrono::milliseconds cueDuration_;
  QElapsedTimer clock_;
  QTimer frameTimer_;
  SpiralRenderer renderer_;
  qint64 framesPainted_ = 0;
  double lastPaintedAngle_ = 0.0;
};
