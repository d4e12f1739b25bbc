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
    void resize(QSize logicalSize, qreal devicePixelRatio);
    QSize size() const { return m_size; }

    // Paints the whole area (0,0)-size() with the spiral turned clockwise by
    // angleDegrees. cueProgress runs from 0 (cue just started) to 1 (complete);
    // at 1 the message is shown.
    void render(QPainter &painter, double angleDegrees, double cueProgress);

    // Where the message box goes, in logical pixels.
    QRectF messageRect() const;
    // The centre point the pupil stares at, in logical pixels.
    QPointF centre() const;
    // Radius of the cue ring around the centre point.
    static constexpr qreal kCueRingRadius = 14.0;

    static QString messageText();

private:
    static constexpr int kPhaseSteps = 4096; // phase resolution per stripe cycle

    void buildPhaseMap();
    void buildStripeTable();
    void paintSpiral(double angleDegrees);
    void paintCentre(QPainter &painter, double cueProgress) const;
    void paintMessage(QPainter &painter) const;

    QSize m_size;
    qreal m_dpr = 1.0;
    std::vector<std::uint16_t> m_phase; // one entry per device pixel
    std::array<QRgb, kPhaseSteps> m_stripe{};
    bool m_stripeBuilt = false;
    QImage m_frame;
    QFont m_messageFont;
};
