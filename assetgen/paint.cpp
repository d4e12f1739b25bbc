// Drawing helpers shared by the pictures.
#include <QHash>
#include <algorithm>

#include "assetgen/pictures.h"

namespace assetgen {

QImage Canvas(int width, int height, QColor fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void ToDensity(QPainter& p, int density) {
  if (density != 1) p.scale(density, density);
}

namespace {

// One horizontal and one vertical running-sum pass of a box filter, edges clamped.
void BoxPass(const QImage& src, QImage& dst, int radius) {
  const int w = src.width();
  const int h = src.height();
  const int n = 2 * radius + 1;
  QImage tmp(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    QRgb* out = reinterpret_cast<QRgb*>(tmp.scanLine(y));
    int r = 0, g = 0, b = 0;
    for (int k = -radius; k <= radius; ++k) {
      const QRgb c = in[std::clamp(k, 0, w - 1)];
      r += qRed(c), g += qGreen(c), b += qBlue(c);
    }
    for (int x = 0; x < w; ++x) {
      out[x] = qRgb(r / n, g / n, b / n);
      const QRgb add = in[std::min(x + radius + 1, w - 1)];
      const QRgb sub = in[std::max(x - radius, 0)];
      r += qRed(add) - qRed(sub), g += qGreen(add) - qGreen(sub), b += qBlue(add) - qBlue(sub);
    }
  }
  for (int x = 0; x < w; ++x) {
    int r = 0, g = 0, b = 0;
    auto at = [&](int y) { return tmp.pixel(x, std::clamp(y, 0, h - 1)); };
    for (int k = -radius; k <= radius; ++k) {
      const QRgb c = at(k);
      r += qRed(c), g += qGreen(c), b += qBlue(c);
    }
    for (int y = 0; y < h; ++y) {
      dst.setPixel(x, y, qRgb(r / n, g / n, b / n));
      const QRgb add = at(y + radius + 1);
      const QRgb sub = at(y - radius);
      r += qRed(add) - qRed(sub), g += qGreen(add) - qGreen(sub), b += qBlue(add) - qBlue(sub);
    }
  }
}

int Distance(QRgb a, QRgb b) {
  const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
  // Green weighs most and blue least, roughly as the eye weighs them.
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

QImage Blurred(const QImage& image, int radius) {
  QImage a = image.convertToFormat(QImage::Format_RGB32);
  QImage b(a.size(), QImage::Format_RGB32);
  BoxPass(a, b, radius);
  BoxPass(b, a, radius);
  BoxPass(a, b, radius);
  return b;
}

void AddGrain(QImage& image, int amplitude, std::uint32_t seed) {
  Rng rng(seed);
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int d = static_cast<int>(rng.Next() % (2 * amplitude + 1)) - amplitude;
      const QRgb c = line[x];
      line[x] = qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                     std::clamp(qBlue(c) + d, 0, 255));
    }
  }
}

QImage ToPalette(const QImage& image, const std::vector<QRgb>& palette) {
  if (palette.empty() || palette.size() > 256) qFatal("a GIF palette holds 1 to 256 colours");
  const QImage src = image.convertToFormat(QImage::Format_RGB32);
  QImage out(src.size(), QImage::Format_Indexed8);
  QList<QRgb> table(palette.begin(), palette.end());
  out.setColorTable(table);
  QHash<QRgb, uchar> nearest;
  for (int y = 0; y < src.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    uchar* idx = out.scanLine(y);
    for (int x = 0; x < src.width(); ++x) {
      const QRgb c = in[x] | 0xFF000000u;
      auto found = nearest.constFind(c);
      if (found == nearest.constEnd()) {
        int best = 0;
        for (int i = 1; i < static_cast<int>(palette.size()); ++i) {
          if (Distance(c, palette[i]) < Distance(c, palette[best])) best = i;
        }
        found = nearest.insert(c, static_cast<uchar>(best));
      }
      idx[x] = *found;
    }
  }
  return out;
}

std::vector<QRgb> BlendPalette(const std::vector<QRgb>& keys, int steps) {
  std::vector<QRgb> palette;
  for (QRgb k : keys) palette.push_back(k | 0xFF000000u);
  for (size_t i = 0; i < keys.size(); ++i) {
    for (size_t j = i + 1; j < keys.size(); ++j) {
      for (int s = 1; s <= steps; ++s) {
        const double t = double(s) / (steps + 1);
        auto mix = [t](int a, int b) { return static_cast<int>(a + (b - a) * t + 0.5); };
        palette.push_back(qRgb(mix(qRed(keys[i]), qRed(keys[j])),
                               mix(qGreen(keys[i]), qGreen(keys[j])),
                               mix(qBlue(keys[i]), qBlue(keys[j]))));
      }
    }
  }
  if (palette.size() > 256) qFatal("too many blends for one GIF palette");
  return palette;
}

}  // namespace assetgen
