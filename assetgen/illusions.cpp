// Illusions of lightness, of grids and of tilt. Where a second picture proves the first one
// wrong, both are drawn from the same geometry so that they line up.
#include <QPainter>

#include "assetgen/pictures.h"

namespace assetgen {

namespace {

// 0grey: four large squares from light to dark in a row, each holding a small square of the
// same middle grey. The proof shows the small squares at the same places on one even ground.
constexpr int kGreySide = 88, kGreyGap = 0, kGreySmall = 36;
constexpr int kGreyLeft = (353 - 4 * kGreySide - 3 * kGreyGap) / 2;
constexpr int kGreyGrounds[4] = {236, 176, 104, 34};
constexpr int kGreyMiddle = 128;

int GreyLeft(int i) { return kGreyLeft + i * (kGreySide + kGreyGap); }

}  // namespace

QImage GreySquares(int density) {
  QImage image = Canvas(353 * density, 113 * density, QColor(248, 247, 243));
  QPainter p(&image);
  ToDensity(p, density);
  const int top = (113 - kGreySide) / 2;
  for (int i = 0; i < 4; ++i) {
    const int g = kGreyGrounds[i];
    p.fillRect(GreyLeft(i), top, kGreySide, kGreySide, QColor(g, g, g));
    const int inset = (kGreySide - kGreySmall) / 2;
    p.fillRect(GreyLeft(i) + inset, top + inset, kGreySmall, kGreySmall,
               QColor(kGreyMiddle, kGreyMiddle, kGreyMiddle));
  }
  return image;
}

QImage GreySquaresProof(int density) {
  QImage image = Canvas(353 * density, 81 * density, QColor(248, 247, 243));
  QPainter p(&image);
  ToDensity(p, density);
  const int top = (81 - kGreySmall) / 2;
  for (int i = 0; i < 4; ++i) {
    p.fillRect(GreyLeft(i) + (kGreySide - kGreySmall) / 2, top, kGreySmall, kGreySmall,
               QColor(kGreyMiddle, kGreyMiddle, kGreyMiddle));
  }
  return image;
}

// 1line1: black squares on white, streets about a fifth of a square wide, so that grey spots
// swim at every crossing the eye is not fixed on.
QImage HermannGrid(int density) {
  constexpr int cols = 8, rows = 4, side = 46, street = 10;
  constexpr int left = (489 - cols * side - (cols - 1) * street) / 2;
  constexpr int top = (265 - rows * side - (rows - 1) * street) / 2;
  QImage image = Canvas(489 * density, 265 * density, Qt::white);
  QPainter p(&image);
  ToDensity(p, density);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      p.fillRect(left + c * (side + street), top + r * (side + street), side, side, Qt::black);
    }
  }
  p.end();
  return ToPalette(image, {qRgb(255, 255, 255), qRgb(0, 0, 0)});
}

// 2line2: mid-grey lines on black with a white disc, a little wider than the line, at every
// crossing; the discs the eye is not fixed on flicker dark.
QImage ScintillatingGrid(int density) {
  constexpr double pitch = 42, line = 6, disc = 11;
  return Supersampled(497, 249, density, Qt::black, 3, [&](QPainter& p) {
    const double x0 = (497 - 11 * pitch) / 2, y0 = (249 - 5 * pitch) / 2;
    const QColor grey(112, 112, 112);
    for (int c = 0; c <= 11; ++c) p.fillRect(QRectF(x0 + c * pitch - line / 2, 0, line, 249), grey);
    for (int r = 0; r <= 5; ++r) p.fillRect(QRectF(0, y0 + r * pitch - line / 2, 497, line), grey);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int c = 0; c <= 11; ++c) {
      for (int r = 0; r <= 5; ++r)
        p.drawEllipse(QPointF(x0 + c * pitch, y0 + r * pitch), disc / 2, disc / 2);
    }
  });
}

// 3square: thin blue and yellow stripes across the picture; red squares form an X. In one
// diagonal the red takes the place of the yellow stripes, so blue runs through it and the red
// looks purple; in the other it takes the place of the blue, so yellow runs through it and the
// red looks orange. Every red pixel is the same red.
namespace {

constexpr int kStripe = 3;  // height of one stripe; blue stripes start at y = 0
constexpr int kCell = 24, kStepX = 40, kStepY = 30, kRows = 8;
// Top-left corner of the first square; squares start on a stripe boundary.
constexpr int kCrossLeft = (385 - (kRows - 1) * kStepX - kCell) / 2;
constexpr int kCrossTop = (241 - (kRows - 1) * kStepY - kCell) / 2 / kStripe * kStripe;
constexpr QRgb kBlue = qRgb(30, 40, 230), kYellow = qRgb(255, 230, 0), kRed = qRgb(235, 20, 30);

QImage StripedCross(int density) {
  const int d = density;
  QImage image(385 * d, 241 * d, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    const QRgb c = (y / (kStripe * d)) % 2 == 0 ? kBlue : kYellow;
    std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), image.width(), c);
  }
  const int left = kCrossLeft, top = kCrossTop;
  for (int r = 0; r < kRows; ++r) {
    // "\" replaces the yellow stripes, "/" the blue ones.
    for (auto [col, replaced] : {std::pair{r, kYellow}, std::pair{kRows - 1 - r, kBlue}}) {
      const int x0 = (left + col * kStepX) * d, y0 = (top + r * kStepY) * d;
      for (int y = y0; y < y0 + kCell * d; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = x0; x < x0 + kCell * d; ++x) {
          if (line[x] == replaced) line[x] = kRed;
        }
      }
    }
  }
  return image;
}

const std::vector<QRgb> kStripePalette = {kBlue, kYellow, kRed};

}  // namespace

QImage RedCross(int density) { return ToPalette(StripedCross(density), kStripePalette); }

// The middle of the X, three times as large: the four squares where the diagonals meet, two
// of each, with the stripes now too wide to tint the red.
QImage RedCrossEnlarged(int density) {
  const QImage cross = StripedCross(density);
  const int scale = 3;
  const QSize size(209, 193);
  const int left = kCrossLeft, top = kCrossTop;
  const QPointF centre(left + 3.5 * kStepX + kCell / 2.0, top + 3.5 * kStepY + kCell / 2.0);
  const QRect crop(int(centre.x() - size.width() / (2.0 * scale)),
                   int(centre.y() - size.height() / (2.0 * scale)), size.width() / scale + 1,
                   size.height() / scale + 1);
  const QRect fine(crop.topLeft() * density, crop.size() * density);
  QImage big =
      cross.copy(fine).scaled(fine.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return ToPalette(big.copy(0, 0, size.width() * density, size.height() * density), kStripePalette);
}

// 4slope: the café wall. Rows of black and white tiles, each row shifted a quarter tile
// further and then back, with thin mid-grey mortar between the rows: the straight mortar
// lines seem to run in wedges.
namespace {

constexpr int kTile = 36, kMortar = 3, kWallRows = 7;
constexpr int kShift[kWallRows] = {0, 9, 18, 27, 18, 9, 0};

void DrawWall(QPainter& p, QColor dark, QColor light, QColor mortar) {
  p.fillRect(0, 0, 545, 273, mortar);
  for (int r = 0; r < kWallRows; ++r) {
    const int y = r * (kTile + kMortar);
    for (int x = -2 * kTile + kShift[r], i = 0; x < 545; x += kTile, ++i) {
      p.fillRect(x, y, kTile, kTile, i % 2 == 0 ? dark : light);
    }
  }
}

}  // namespace

QImage CafeWall(int density) {
  QImage image = Canvas(545 * density, 273 * density, Qt::white);
  QPainter p(&image);
  ToDensity(p, density);
  DrawWall(p, Qt::black, Qt::white, QColor(128, 128, 128));
  return image;
}

// The same wall with the contrast that makes the tilt taken out: grey and white tiles with
// black mortar, darker than both, and the lines run plainly straight.
QImage CafeWallPlain(int density) {
  QImage image = Canvas(545 * density, 273 * density, Qt::white);
  QPainter p(&image);
  ToDensity(p, density);
  DrawWall(p, QColor(176, 176, 176), Qt::white, Qt::black);
  return image;
}

}  // namespace assetgen
