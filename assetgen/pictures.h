// The course pictures, each drawn by one function, and the few drawing helpers they share.
// Every function is deterministic: the same build draws the same pixels on every run. Each takes
// a density: 1 draws the picture the pages were laid out with, 2 and 3 the same picture with two
// and three times as many pixels each way, for denser screens and full screen. Drawings work in
// the designed pixels whatever the density.
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
// the designed picture's pixel coordinates; the result has `density` pixels for each of them.
template <typename Draw>
QImage Supersampled(int width, int height, int density, QColor fill, int factor, Draw draw) {
  QImage big = Canvas(width * factor * density, height * factor * density, fill);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(factor * density, factor * density);
    draw(p);
  }
  return big.scaled(width * density, height * density, Qt::IgnoreAspectRatio,
                    Qt::SmoothTransformation);
}

// A painter on a canvas of `density` pixels for each designed one, working in designed pixels.
void ToDensity(QPainter& p, int density);

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
QImage TitleBackground(int density);  // bg5.jpg
QImage MenuBackground(int density);   // bg3.jpg
QImage PageBackground(int density);   // bg.jpg

// The eye.
QImage RealEye(int density);     // realeye.jpg
QImage EyeFront(int density);    // eyefront.jpg
QImage EyeCross(int density);    // eyecross1.gif
QImage EyeWorking(int density);  // work.gif
QImage SpotMark(int density);    // spot.gif
QImage CrossMark(int density);   // ten.gif

// The program's icon (256 x 256, transparent ground): not a course picture, the package's.
QImage AppIcon();  // lumora.png

// Illusions of lightness, grids and lines.
QImage GreySquares(int density);        // 0grey1.jpg
QImage GreySquaresProof(int density);   // 0grey2.jpg
QImage HermannGrid(int density);        // 1line1.gif
QImage ScintillatingGrid(int density);  // 2line2.jpg
QImage RedCross(int density);           // 3square1.gif
QImage RedCrossEnlarged(int density);   // 3square2.gif
QImage CafeWall(int density);           // 4slope1.jpg
QImage CafeWallPlain(int density);      // 4slope2.jpg

// Afterimages and pictures with two readings.
QImage LightBulb(int density);      // 5lightbulb1.jpg
QImage LightField(int density);     // 5lightbulb2.jpg
QImage ColourSquares(int density);  // 6colorsq1.jpg
QImage WhiteField(int density);     // 6colorsq2.jpg
QImage VaseAndFaces(int density);   // 8faces.gif
QImage SkullFromAfar(int density);  // 9head1.jpg
QImage LadyCloseUp(int density);    // 9head2.jpg

}  // namespace assetgen
