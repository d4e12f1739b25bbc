// Twips are the unit of every described position: 1440 to the inch, 15 to a pixel at 96 dpi.
// Qt's device-independent pixels are 96 dpi pixels, so the conversion is fixed. A page shown
// larger (full screen) or smaller (a screen too small for the designed window) multiplies the
// designed pixels by its scale: every size comes from this one conversion.
#pragma once

#include <QRect>
#include <cmath>

namespace forms {

inline constexpr int kTwipsPerPixel = 15;

// The designed pixel, times the scale: each edge lands within half a pixel of where the
// designed window has it, times the scale.
inline int TwipsToPixels(int twips, double scale = 1) {
  const double designed = std::lround(twips / static_cast<double>(kTwipsPerPixel));
  return static_cast<int>(std::lround(designed * scale));
}

inline int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A box in twips. Converting its edges (not its size) keeps neighbouring boxes flush.
struct TwipRect {
  int left = 0, top = 0, width = 0, height = 0;

  QRect ToPixels(double scale = 1) const {
    const int x = TwipsToPixels(left, scale), y = TwipsToPixels(top, scale);
    return {x, y, TwipsToPixels(left + width, scale) - x, TwipsToPixels(top + height, scale) - y};
  }
  bool operator==(const TwipRect&) const = default;
};

}  // namespace forms
