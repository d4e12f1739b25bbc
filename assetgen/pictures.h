// The course pictures, each drawn by one function, and the few drawing helpers they share.
// Every function is deterministic: the same build draws the same pixels on every run.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <vector>

namespace assetgen {

// A small fixed-seed generator for texture and noise (xorshift32), so that pictures never
// depend on the time or on the platform's random numbers.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in [0, 1).
  double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

 private:
  std::uint32_t state_;
};

// An opaque canvas filled with one colour.
QImage Canvas(int width, int height, QColor fill);

// Draws at `factor` times the size and shrinks with area averaging: smooth edges for pictures
// meant to look photographic or soft. `draw` receives a painter already scaled, so it works in
// the final picture's pixel coordinates.
template <typename Draw>
QImage Supersampled(int width, int height, QColor fill, int factor, Draw draw) {
  QImage big = Canvas(width * factor, height * factor, fill);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(factor, factor);
    draw(p);
  }
  return big.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Three passes of a box blur of the given radius: close to a Gaussian low-pass.
QImage Blurred(const QImage& image, int radius);

// Adds a little grain to every pixel: +-amplitude on each channel, the same on all three.
void AddGrain(QImage& image, int amplitude, std::uint32_t seed);

// Maps every pixel to the nearest colour of the palette (at most 256): the indexed picture a
// GIF file holds. Antialiased edges fall on the blends the palette offers.
QImage ToPalette(const QImage& image, const std::vector<QRgb>& palette);

// The key colours plus `steps` evenly spaced blends between every pair of them.
std::vector<QRgb> BlendPalette(const std::vector<QRgb>& keys, int steps);

// Backgrounds.
QImage TitleBackground();  // bg5.jpg
QImage MenuBackground();   // bg3.jpg
QImage PageBackground();   // bg.jpg

// The eye.
QImage RealEye();     // realeye.jpg
QImage EyeFront();    // eyefront.jpg
QImage EyeCross();    // eyecross1.gif
QImage EyeWorking();  // work.gif
QImage SpotMark();    // spot.gif
QImage CrossMark();   // ten.gif

// The program's icon (256 x 256, transparent ground): not a course picture, the package's.
QImage AppIcon();  // lumora.png

// Illusions of lightness, grids and lines.
QImage GreySquares();        // 0grey1.jpg
QImage GreySquaresProof();   // 0grey2.jpg
QImage HermannGrid();        // 1line1.gif
QImage ScintillatingGrid();  // 2line2.jpg
QImage RedCross();           // 3square1.gif
QImage RedCrossEnlarged();   // 3square2.gif
QImage CafeWall();           // 4slope1.jpg
QImage CafeWallPlain();      // 4slope2.jpg

// Afterimages and pictures with two readings.
QImage LightBulb();      // 5lightbulb1.jpg
QImage LightField();     // 5lightbulb2.jpg
QImage ColourSquares();  // 6colorsq1.jpg
QImage WhiteField();     // 6colorsq2.jpg
QImage VaseAndFaces();   // 8faces.gif
QImage SkullFromAfar();  // 9head1.jpg
QImage LadyCloseUp();    // 9head2.jpg

}  // namespace assetgen
