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
} // namespace

SpiralWindow::SpiralWindow(std::chrono::milliseconds cueDuration, QWidget *parent)
    : QWidget(parent), m_cueDuration(cueDuration)
{
    setWindowTitle(QStringLiteral("動畫"));
    // Every frame covers the whole window, so no background fill beforehand.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(kMinimumSide, kMinimumSide);

    m_frameTimer.setSingleShot(true);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] {
        update();
        scheduleNextFrame();
    });

    placeOnScreen();
}

void SpiralWindow::placeOnScreen()
{
    const QScreen *scr = screen() ? screen() : QGuiApplication::primaryScreen();
    int side = kPreferredSide;
    if (scr) {
        const QRect avail = scr->availableGeometry();
        // Leave room for the window frame on small screens.
        side = std::clamp(std::min(avail.width(), avail.height()) * 9 / 10, kMinimumSide,
                          kPreferredSide);
        resize(side, side);
        move(avail.center() - QPoint(side / 2, side / 2));
    } else {
        resize(side, side);
    }
}

double SpiralWindow::elapsedMs() const
{
    return m_clock.isValid() ? double(m_clock.nsecsElapsed()) / 1e6 : 0.0;
}

double SpiralWindow::angle() const
{
    return elapsedMs() * kDegreesPerSecond / 1000.0;
}

double SpiralWindow::cueProgress() const
{
    if (m_cueDuration.count() <= 0)
        return 1.0;
    return std::min(1.0, elapsedMs() / double(m_cueDuration.count()));
}

bool SpiralWindow::cueComplete() const
{
    return cueProgress() >= 1.0;
}

double SpiralWindow::framePeriodMs() const
{
    double rate = screen() ? screen()->refreshRate() : 60.0;
    if (!(rate >= 24.0 && rate <= 240.0))
        rate = 60.0;
    return 1000.0 / rate;
}

void SpiralWindow::scheduleNextFrame()
{
    // Aim at a fixed grid of frame times, so that the whole-millisecond timer
    // still averages out to the display's rate; a late frame is dropped rather
    // than followed by a burst.
    const double period = framePeriodMs();
    const double now = elapsedMs();
    const double next = (std::floor(now / period + 0.5) + 1.0) * period;
    m_frameTimer.start(std::max(1, int(std::lround(next - now))));
}

void SpiralWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_clock.isValid())
        m_clock.start();
    if (!m_frameTimer.isActive())
        scheduleNextFrame();
}

void SpiralWindow::hideEvent(QHideEvent *event)
{
    m_frameTimer.stop();
    QWidget::hideEvent(event);
}

void SpiralWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_renderer.resize(size(), devicePixelRatioF());
}

void SpiralWindow::paintEvent(QPaintEvent *)
{
    m_renderer.resize(size(), devicePixelRatioF()); // no-op unless the screen changed
    const double turned = angle();
    QPainter painter(this);
    m_renderer.render(painter, turned, cueProgress());
    ++m_framesPainted;
    m_lastPaintedAngle = turned;
    emit framePainted();
}

void SpiralWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
