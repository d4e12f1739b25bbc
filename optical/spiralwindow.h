#pragma once

#include "optical/spiralrenderer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <chrono>

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
                          QWidget *parent = nullptr);

    std::chrono::milliseconds cueDuration() const { return m_cueDuration; }
    // Time since the window was first shown; zero before that.
    double elapsedMs() const;
    // Total turn so far, in degrees (not wrapped).
    double angle() const;
    double cueProgress() const;
    bool cueComplete() const;
    // Where the look-at-your-hand message appears once the cue is complete.
    QRectF messageRect() const { return m_renderer.messageRect(); }

    // Frames painted so far and the angle of the latest one.
    qint64 framesPainted() const { return m_framesPainted; }
    double lastPaintedAngle() const { return m_lastPaintedAngle; }

signals:
    void framePainted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    double framePeriodMs() const;
    void scheduleNextFrame();
    void placeOnScreen();

    std::chrono::milliseconds m_cueDuration;
    QElapsedTimer m_clock;
    QTimer m_frameTimer;
    SpiralRenderer m_renderer;
    qint64 m_framesPainted = 0;
    double m_lastPaintedAngle = 0.0;
};
