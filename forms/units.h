// Twips are the unit of every described position: 1440 to the inch, 15 to a pixel at 96 dpi.
// Qt's device-independent pixels are 96 dpi pixels, so the conversion is fixed.
#pragma once

#include <QRect>
#include <cmath>

namespace forms {

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(int twips) {
  return static_cast<int>(std::lround(twips / static_cast<double>(kTwipsPerPixel)));
}

inline int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A box in twips. Converting its edges (not its size) keeps neighbouring boxes flush.
struct TwipRect {
  int left = 0, top = 0, width = 0, height = 0;

  QRect ToPixels() const {
    const int x = TwipsToPixels(left), y = TwipsToPixels(top);
    return {x, y, TwipsToPixels(left + width) - x, TwipsToPixels(top + height) - y};
  }
  bool operator==(const TwipRect&) const = default;
};

}  // namespace forms
