// lumora-assetgen: draws every course picture into the course folder.
//
//   lumora-assetgen DIR                       write the course pictures into DIR, each also
//                                             drawn twice and three times as finely
//                                             (name@2x.jpg, name@3x.jpg)
//   lumora-assetgen --contact-sheet FILE DIR  compose the pictures found in DIR into one PNG,
//                                             the eye diagrams also with their page labels
//                                             and the menu buttons as they show them
//   lumora-assetgen --icon FILE               write the program's icon, a 256 x 256 PNG
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "assetgen/gif.h"
#include "assetgen/ico.h"
#include "assetgen/labels.h"
#include "assetgen/pictures.h"
#include "content/assets.h"

namespace {

using namespace assetgen;

// Each course picture, by the constant that names it, and the function that draws it at a
// density.
struct Drawing {
  std::string_view picture;
  QImage (*draw)(int density);
};

constexpr Drawing kDrawings[] = {
    {content::kTitleBackground, TitleBackground},
    {content::kMenuBackground, MenuBackground},
    {content::kBackground, PageBackground},
    {content::kRealEye, RealEye},
    {content::kEyeFront, EyeFront},
    {content::kEyeCross, EyeCross},
    {content::kSpot, SpotMark},
    {content::kTen, CrossMark},
    {content::kWork, EyeWorking},
    {content::kGrey1, GreySquares},
    {content::kGrey2, GreySquaresProof},
    {content::kLine1, HermannGrid},
    {content::kLine2, ScintillatingGrid},
    {content::kSquare1, RedCross},
    {content::kSquare2, RedCrossEnlarged},
    {content::kSlope1, CafeWall},
    {content::kSlope2, CafeWallPlain},
    {content::kLightbulb1, LightBulb},
    {content::kLightbulb2, LightField},
    {content::kColorSq1, ColourSquares},
    {content::kColorSq2, WhiteField},
    {content::kFaces, VaseAndFaces},
    {content::kHead1, SkullFromAfar},
    {content::kHead2, LadyCloseUp},
};

// A picture added to the course's list without a drawing, or drawn twice, or a drawing of a
// name that is not in the list, stops the build here instead of leaving a file missing.
constexpr bool EachPictureDrawnOnce() {
  if (std::size(kDrawings) != content::kPictures.size()) return false;
  for (std::string_view picture : content::kPictures) {
    int drawings = 0;
    for (const Drawing& d : kDrawings) drawings += d.picture == picture;
    if (drawings != 1) return false;
  }
  return true;
}
static_assert(EachPictureDrawnOnce(), "every picture of content/pictures.def needs one drawing");

// The file name, without the leading backslash of the course's constant.
QString FileName(std::string_view picture) {
  return QString::fromLatin1(picture.substr(1).data(), static_cast<qsizetype>(picture.size() - 1));
}

QString Write(const QImage& image, const QString& path, int density) {
  if (path.endsWith(".gif")) return WriteGif(image, path);
  // The file states 96 dpi, the resolution the pages are laid out at (a variant that many times
  // its density), whatever the platform's default would be.
  QImage jpeg = image.convertToFormat(QImage::Format_RGB32);
  jpeg.setDotsPerMeterX(3780 * density);
  jpeg.setDotsPerMeterY(3780 * density);
  QImageWriter writer(path, "jpeg");
  writer.setQuality(90);
  if (!writer.write(jpeg)) return writer.errorString();
  return {};
}

int WriteIcon(const QString& file) {
  const QFileInfo info(file);
  QImageWriter writer(file, "png");
  if (!QDir().mkpath(info.absolutePath()) || !writer.write(AppIcon())) {
    std::fprintf(stderr, "lumora-assetgen: cannot write %s: %s\n", qPrintable(file),
                 qPrintable(writer.errorString()));
    return 1;
  }
  return 0;
}

int WritePictures(const QString& dir) {
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "lumora-assetgen: cannot create %s\n", qPrintable(dir));
    return 1;
  }
  for (const Drawing& drawing : kDrawings) {
    std::vector<std::pair<QString, int>> files = {{FileName(drawing.picture), 1}};
    for (const int factor : content::kVariantFactors)
      files.emplace_back(FileName(content::VariantName(drawing.picture, factor)), factor);
    for (const auto& [name, density] : files) {
      const QString path = QDir(dir).filePath(name);
      const QString error = Write(drawing.draw(density), path, density);
      if (!error.isEmpty()) {
        std::fprintf(stderr, "lumora-assetgen: %s: %s\n", qPrintable(path), qPrintable(error));
        return 1;
      }
    }
  }
  return 0;
}

// The diagram as the page shows it: white page, picture, bold Ming captions over it.
QImage WithLabels(const QImage& picture, const Diagram& diagram) {
  const int margin = 80;
  QImage sheet = Canvas(picture.width() + 2 * margin, picture.height() + 2 * margin, Qt::white);
  QPainter p(&sheet);
  p.drawImage(margin, margin, picture);
  p.setPen(QColor(0, 128, 255));
  p.drawRect(margin - 1, margin - 1, picture.width() + 1, picture.height() + 1);
  QFont font("AR PL UMing TW");
  font.setPixelSize(diagram.fontPixels);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::black);
  for (const DiagramLabel& label : diagram.labels) {
    p.drawText(diagram.Box(label).translated(margin, margin), Qt::AlignHCenter | Qt::AlignTop,
               label.text);
  }
  return sheet;
}

using Tiles = std::vector<std::pair<QString, QImage>>;

// The pictures as the build wrote them, each under its file name; false after reporting one
// that cannot be read.
bool ReadPictures(const QString& dir, Tiles& tiles) {
  for (std::string_view picture : content::kPictures) {
    QImageReader reader(QDir(dir).filePath(FileName(picture)));
    QImage image = reader.read();
    if (image.isNull()) {
      std::fprintf(stderr, "lumora-assetgen: %s: %s\n", qPrintable(reader.fileName()),
                   qPrintable(reader.errorString()));
      return false;
    }
    tiles.emplace_back(FileName(picture), image);
  }
  return true;
}

// The diagrams with their page labels, and the menu's two picture buttons (73 x 49), which show
// the middle of their pictures.
void AddPageViews(Tiles& tiles) {
  for (const Diagram* d : {&EyeFrontLabels(), &EyeCrossLabels(), &EyeWorkingLabels()}) {
    for (const auto& [name, image] : Tiles(tiles)) {
      if (name == d->file) tiles.emplace_back(name + " with its labels", WithLabels(image, *d));
    }
  }
  for (const auto& [name, image] : Tiles(tiles)) {
    if (name == FileName(content::kRealEye) || name == FileName(content::kGrey1)) {
      const QRect face((image.width() - 73) / 2, (image.height() - 49) / 2, 73, 49);
      tiles.emplace_back(name + " on its button", image.copy(face));
    }
  }
}

// Rows filled left to right up to a fixed width, each tile captioned with its file name.
QImage Compose(const Tiles& tiles) {
  const int sheetWidth = 1800, gap = 16, caption = 22;
  std::vector<QPoint> places;
  int x = gap, y = gap, rowHeight = 0;
  for (const auto& tile : tiles) {
    const QSize s = tile.second.size();
    const int width = std::max(s.width(), 180);  // room for the caption
    if (x + width + gap > sheetWidth && x > gap) {
      x = gap;
      y += rowHeight + caption + gap;
      rowHeight = 0;
    }
    places.emplace_back(x, y);
    x += width + gap;
    rowHeight = std::max(rowHeight, s.height());
  }
  QImage sheet = Canvas(sheetWidth, y + rowHeight + caption + gap, QColor(96, 96, 104));
  QPainter p(&sheet);
  QFont font;
  font.setPixelSize(14);
  p.setFont(font);
  p.setPen(Qt::white);
  for (size_t i = 0; i < tiles.size(); ++i) {
    const QImage& image = tiles[i].second;
    p.drawImage(places[i], image);
    p.drawText(QRect(places[i].x(), places[i].y() + image.height() + 2, 600, caption),
               Qt::AlignLeft | Qt::AlignTop,
               QString("%1  %2×%3").arg(tiles[i].first).arg(image.width()).arg(image.height()));
  }
  return sheet;
}

int WriteContactSheet(const QString& file, const QString& dir) {
  Tiles tiles;
  if (!ReadPictures(dir, tiles)) return 1;
  AddPageViews(tiles);
  if (!Compose(tiles).save(file, "PNG")) {
    std::fprintf(stderr, "lumora-assetgen: cannot write %s\n", qPrintable(file));
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Drawing shapes into images needs no window system. Only the contact sheet writes text, and
  // fonts need a platform: the offscreen one, unless the caller chose another.
  const bool sheet = argc == 4 && std::strcmp(argv[1], "--contact-sheet") == 0;
  if (sheet) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return WriteContactSheet(app.arguments().at(2), app.arguments().at(3));
  }
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() == 1 && !args[0].startsWith("-")) return WritePictures(args[0]);
  if (args.size() == 2 && args[0] == "--icon")
    return args[1].endsWith(".ico") ? WriteWindowsIcon(args[1]) : WriteIcon(args[1]);
  std::fprintf(stderr,
               "usage: lumora-assetgen DIR\n"
               "       lumora-assetgen --contact-sheet FILE DIR\n"
               "       lumora-assetgen --icon FILE      (FILE.png or FILE.ico)\n");
  return 2;
}
