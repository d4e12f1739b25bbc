// The course pictures as the build leaves them beside the course executable: each one is there,
// is what its name says, fits the place its page gives it, and really shows its illusion. The
// generator is run again to check that it draws the same bytes every time.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

#include "content/assets.h"
#include "pagedesc/pagedesc.h"
#include "tests/support/coursemap.h"

namespace {

QString FileName(std::string_view picture) {
  return QString::fromLatin1(picture.substr(1).data(), static_cast<qsizetype>(picture.size() - 1));
}

// Where the pages show each picture. An image box takes its picture's natural size, so the
// picture must have the size the box was laid out with; a button face shows the middle of a
// picture at least as large; a page background covers at least the client area.
struct Place {
  std::string_view picture, page, control;  // no control: the page's background
};

constexpr Place kPlaces[] = {
    {content::kTitleBackground, "Form16", ""},  {content::kMenuBackground, "Form17", ""},
    {content::kBackground, "Form4", ""},        {content::kRealEye, "Form17", "Command1"},
    {content::kRealEye, "Form18", "Image1"},    {content::kEyeFront, "Form18", "Image2"},
    {content::kEyeCross, "Form19", "Image2"},   {content::kSpot, "Form21", "Image2"},
    {content::kTen, "Form21", "Image3"},        {content::kWork, "Form22", "Image2"},
    {content::kGrey1, "Form17", "Command3"},    {content::kGrey1, "Form5", "Image1"},
    {content::kGrey2, "Form5", "Image2"},       {content::kLine1, "Form6", "Image1"},
    {content::kLine2, "Form7", "Image1"},       {content::kSquare1, "Form8", "Image1"},
    {content::kSquare2, "Form8", "Image2"},     {content::kSlope1, "Form9", "Image1"},
    {content::kSlope2, "Form9", "Image1"},      {content::kLightbulb1, "Form10", "Image1"},
    {content::kLightbulb2, "Form10", "Image1"}, {content::kColorSq1, "Form11", "Image1"},
    {content::kColorSq2, "Form11", "Image1"},   {content::kFaces, "Form13", "Image1"},
    {content::kHead1, "Form14", "Image1"},      {content::kHead2, "Form14", "Image1"},
};

int Luma(QRgb c) { return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000; }

double MeanLuma(const QImage& image, const QRect& area) {
  double sum = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) sum += Luma(image.pixel(x, y));
  }
  return sum / (double(area.width()) * area.height());
}

}  // namespace

class TestAssets : public QObject {
  Q_OBJECT

  QDir bin_;

  QImage Load(const QString& file) {
    QImageReader reader(bin_.filePath(file));
    QImage image = reader.read();
    if (image.isNull()) qFatal("%s: %s", qPrintable(file), qPrintable(reader.errorString()));
    return image.convertToFormat(QImage::Format_RGB32);
  }

 private slots:
  void initTestCase() {
    const QByteArray dir = qgetenv("LUMORA_BIN");
    QVERIFY2(!dir.isEmpty(), "LUMORA_BIN is not set");
    bin_ = QDir(QString::fromLocal8Bit(dir));
  }

  void everyPictureIsItsFormat_data() {
    QTest::addColumn<QString>("file");
    for (std::string_view picture : content::kPictures)
      QTest::newRow(qPrintable(FileName(picture))) << FileName(picture);
  }

  void everyPictureIsItsFormat() {
    QFETCH(QString, file);
    QFile f(bin_.filePath(file));
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName() + " is missing"));
    // Installed for a computer room, every pupil's account must be able to read it.
    QVERIFY(f.permissions().testFlags(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray head = f.read(6);
    const bool gif = file.endsWith(".gif");
    if (gif) {
      QCOMPARE(head.left(4), QByteArray("GIF8"));
    } else {
      QCOMPARE(head.left(3), QByteArray("\xFF\xD8\xFF"));
    }
    f.close();
    QImageReader reader(f.fileName());
    QCOMPARE(reader.format(), gif ? QByteArray("gif") : QByteArray("jpeg"));
    QVERIFY2(!reader.read().isNull(), qPrintable(reader.errorString()));
  }

  void everyPictureFitsItsPlace() {
    for (std::string_view picture : content::kPictures) {
      QVERIFY2(std::any_of(std::begin(kPlaces), std::end(kPlaces),
                           [&](const Place& p) { return p.picture == picture; }),
               qPrintable(FileName(picture) + " has no place on any page"));
    }
    for (const Place& place : kPlaces) {
      const QSize size = Load(FileName(place.picture)).size();
      const pagedesc::PageDescription* page = coursemap::Describe(place.page);
      QVERIFY(page);
      const QString where = FileName(place.picture) + " on " + place.page.data();
      if (place.control.empty()) {
        QVERIFY2(size.width() * 15 >= page->clientWidth && size.height() * 15 >= page->clientHeight,
                 qPrintable(where));
        continue;
      }
      const pagedesc::ControlDescription* box = page->Find(place.control);
      QVERIFY2(box, qPrintable(where));
      const QSize designed(box->width / 15, box->height / 15);
      if (box->kind == pagedesc::Kind::Image) {
        QVERIFY2(size == designed, qPrintable(QString("%1: %2 x %3, the box %4 x %5")
                                                  .arg(where)
                                                  .arg(size.width())
                                                  .arg(size.height())
                                                  .arg(designed.width())
                                                  .arg(designed.height())));
      } else {
        QVERIFY2(size.width() >= designed.width() && size.height() >= designed.height(),
                 qPrintable(where));
      }
    }
  }

  // Two runs into empty folders write exactly the course's pictures, byte for byte the same.
  void generatorDrawsTheSameBytesEveryRun() {
    QTemporaryDir first, second;
    QVERIFY(first.isValid() && second.isValid());
    for (const QTemporaryDir* dir : {&first, &second}) {
      QProcess gen;
      gen.start(LUMORA_ASSETGEN, {dir->path()});
      QVERIFY(gen.waitForFinished(60000));
      QCOMPARE(gen.exitStatus(), QProcess::NormalExit);
      QVERIFY2(gen.exitCode() == 0, gen.readAllStandardError().constData());
    }
    QStringList expected;
    for (std::string_view picture : content::kPictures) expected << FileName(picture);
    expected.sort();
    QCOMPARE(QDir(first.path()).entryList(QDir::Files, QDir::Name), expected);
    for (const QString& name : expected) {
      QFile a(QDir(first.path()).filePath(name)), b(QDir(second.path()).filePath(name));
      QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
      QVERIFY2(a.readAll() == b.readAll(), qPrintable(name + " differs between two runs"));
    }
  }

  // Black 14-pt text and the light-red explanations must read on the page backgrounds.
  void backgroundsAreLightAndQuiet() {
    for (std::string_view file :
         {content::kTitleBackground, content::kMenuBackground, content::kBackground}) {
      const QImage image = Load(FileName(file));
      int darkest = 255;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
          darkest = std::min(darkest, Luma(image.pixel(x, y)));
      }
      QVERIFY2(darkest >= 170, file.data());
      QVERIFY2(MeanLuma(image, image.rect()) >= 225, file.data());
    }
    // Behind the illusions the ground stays plain: no pattern to compete with them.
    const QImage bg = Load(FileName(content::kBackground));
    double sum = 0, sum2 = 0;
    for (int y = 0; y < bg.height(); ++y) {
      for (int x = 0; x < bg.width(); ++x) {
        const int l = Luma(bg.pixel(x, y));
        sum += l, sum2 += double(l) * l;
      }
    }
    const double n = double(bg.width()) * bg.height();
    QVERIFY(std::sqrt(sum2 / n - (sum / n) * (sum / n)) < 4);
  }

  // The characters of every part-name label stand on light, plain ground: no part of the
  // drawing and no leader line runs under them.
  void diagramLabelsStandOnPlainGround() {
    const Place diagrams[] = {{content::kEyeFront, "Form18", "Image2"},
                              {content::kEyeCross, "Form19", "Image2"},
                              {content::kWork, "Form22", "Image2"}};
    for (const Place& d : diagrams) {
      const QString file = FileName(d.picture);
      const QImage image = Load(file);
      const pagedesc::PageDescription& page = *coursemap::Describe(d.page);
      const pagedesc::ControlDescription& box = *page.Find(d.control);
      int labels = 0;
      for (const pagedesc::ControlDescription& l : page.controls) {
        if (l.kind != pagedesc::Kind::Label || l.alignment != pagedesc::Alignment::Centre) continue;
        ++labels;
        // Centred one-line caption: about one em per character, at the top of the box.
        const int em = static_cast<int>(l.font->Points() * 96 / 72);
        const int chars =
            QString::fromUtf8(l.caption.data(), static_cast<qsizetype>(l.caption.size())).size();
        const double cx = (l.left - box.left + l.width / 2.0) / 15.0;
        const QRect text(int(cx - chars * em / 2.0), (l.top - box.top) / 15, chars * em, em);
        const QRect inside = text.intersected(image.rect());
        QVERIFY2(
            inside.width() > 8,
            qPrintable(QString("%1: label at x %2 misses the picture").arg(file).arg(text.x())));
        int dark = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
          for (int x = inside.left(); x <= inside.right(); ++x)
            dark += Luma(image.pixel(x, y)) < 200;
        }
        QVERIFY2(dark <= inside.width() * inside.height() / 100,
                 qPrintable(QString("%1: %2 dark pixels under the label at (%3, %4)")
                                .arg(file)
                                .arg(dark)
                                .arg(text.x())
                                .arg(text.y())));
      }
      QVERIFY2(labels >= 2, qPrintable(file));
      // And the diagram itself is there: plenty of drawing outside the labels.
      int drawn = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) drawn += Luma(image.pixel(x, y)) < 235;
      }
      QVERIFY2(drawn > image.width() * image.height() / 8, qPrintable(file));
    }
  }

  void blindSpotMarks() {
    const QImage spot = Load(FileName(content::kSpot)), ten = Load(FileName(content::kTen));
    QCOMPARE(Luma(spot.pixel(19, 19)), 0);
    QCOMPARE(Luma(spot.pixel(19, 9)), 0);  // a filled disc, not a ring
    QCOMPARE(Luma(spot.pixel(2, 2)), 255);
    QCOMPARE(Luma(spot.pixel(8, 8)), 255);  // round, not square
    QCOMPARE(Luma(ten.pixel(19, 19)), 0);
    for (QPoint arm : {QPoint(19, 7), QPoint(19, 31), QPoint(7, 19), QPoint(31, 19)}) {
      QCOMPARE(Luma(ten.pixel(arm)), 0);
    }
    for (QPoint corner : {QPoint(10, 10), QPoint(28, 10), QPoint(10, 28), QPoint(28, 28)}) {
      QCOMPARE(Luma(ten.pixel(corner)), 255);
    }
  }

  // The small squares are one grey on every ground; the grounds go from light to dark; the
  // proof shows the same grey at the same places on one even ground.
  void greySquaresAreOneGrey() {
    const QImage squares = Load(FileName(content::kGrey1)), proof = Load(FileName(content::kGrey2));
    const int quarter = squares.width() / 4;
    int previousGround = 0;
    for (int i = 0; i < 4; ++i) {
      const int cx = quarter * i + quarter / 2;
      const int small = Luma(squares.pixel(cx, squares.height() / 2));
      const int ground = Luma(squares.pixel(cx - quarter * 2 / 5, squares.height() / 2));
      const int shown = Luma(proof.pixel(cx, proof.height() / 2));
      QVERIFY(std::abs(small - 128) <= 3);
      QVERIFY(std::abs(shown - small) <= 3);
      QVERIFY(i == 0 || ground < previousGround - 40);
      previousGround = ground;
      QVERIFY(std::abs(Luma(proof.pixel(cx - quarter * 2 / 5, 4)) - Luma(proof.pixel(2, 2))) <= 3);
    }
  }

  // Hermann grid: pure black squares in straight white streets across the picture.
  void hermannGridHasStraightStreets() {
    const QImage grid = Load(FileName(content::kLine1));
    const int w = grid.width(), h = grid.height();
    // White bands strictly between the outermost black rows (or columns) of the grid.
    auto streets = [&](int lines, int length, bool across) {
      auto white = [&](int i) {
        for (int k = 0; k < length; ++k) {
          if (grid.pixel(across ? k : i, across ? i : k) != qRgb(255, 255, 255)) return false;
        }
        return true;
      };
      int first = 0, last = lines - 1, count = 0;
      while (white(first)) ++first;
      while (white(last)) --last;
      for (int i = first + 1; i <= last; ++i) count += white(i) && !white(i - 1);
      return count;
    };
    QVERIFY(streets(h, w, true) >= 3);
    QVERIFY(streets(w, h, false) >= 5);
    int black = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const QRgb c = grid.pixel(x, y);
        QVERIFY(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255));
        black += c == qRgb(0, 0, 0);
      }
    }
    QVERIFY(black > w * h / 3 && black < w * h * 3 / 4);  // squares much wider than streets
  }

  // Scintillating grid: black ground, grey lines, and a white disc on every crossing, each
  // wider than the lines.
  void scintillatingGridHasDiscsOnTheCrossings() {
    const QImage grid = Load(FileName(content::kLine2));
    QVERIFY(MeanLuma(grid, grid.rect()) < 90);
    // The grey lines: columns and rows whose pixels are mostly mid-grey.
    std::vector<int> lineX, lineY;
    for (int x = 0; x < grid.width(); ++x) {
      int grey = 0;
      for (int y = 0; y < grid.height(); ++y) grey += std::abs(Luma(grid.pixel(x, y)) - 112) < 30;
      if (grey > grid.height() * 2 / 3) lineX.push_back(x);
    }
    for (int y = 0; y < grid.height(); ++y) {
      int grey = 0;
      for (int x = 0; x < grid.width(); ++x) grey += std::abs(Luma(grid.pixel(x, y)) - 112) < 30;
      if (grey > grid.width() * 2 / 3) lineY.push_back(y);
    }
    QVERIFY(lineX.size() >= 10 && lineY.size() >= 5);
    int crossings = 0;
    for (int x : lineX) {
      for (int y : lineY) {
        // A crossing: both the column and the row are line pixels.
        QVERIFY2(Luma(grid.pixel(x, y)) > 220,
                 qPrintable(QString("no disc at %1,%2").arg(x).arg(y)));
        ++crossings;
      }
    }
    QVERIFY(crossings > 0);
  }

  // Munker-White cross: one red everywhere; in one diagonal blue stripes run through the red
  // squares, in the other yellow ones; the enlarged view shows that same red.
  void redSquaresAreOneRed() {
    const QImage cross = Load(FileName(content::kSquare1)),
                 enlarged = Load(FileName(content::kSquare2));
    auto reds = [](const QImage& image) {
      QSet<QRgb> found;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const QRgb c = image.pixel(x, y);
          if (qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100) found.insert(c);
        }
      }
      return found;
    };
    const QSet<QRgb> red = reds(cross);
    QCOMPARE(red.size(), 1);
    QCOMPARE(reds(enlarged), red);
    // What lies directly above or below the red in each half of the picture.
    auto neighbours = [&](int x0, int x1) {
      int blue = 0, yellow = 0;
      for (int y = 1; y < cross.height() / 2; ++y) {
        for (int x = x0; x < x1; ++x) {
          if (!red.contains(cross.pixel(x, y))) continue;
          const QRgb above = cross.pixel(x, y - 1);
          if (red.contains(above)) continue;
          blue += qBlue(above) > 150 && qRed(above) < 100;
          yellow += qRed(above) > 150 && qGreen(above) > 150;
        }
      }
      return std::pair{blue, yellow};
    };
    const auto [leftBlue, leftYellow] = neighbours(0, cross.width() / 2);
    const auto [rightBlue, rightYellow] = neighbours(cross.width() / 2, cross.width());
    QVERIFY(leftBlue > 50 && leftYellow == 0);
    QVERIFY(rightYellow > 50 && rightBlue == 0);
  }

  // Café wall: the mortar lines run straight across, mid-grey between the black and white
  // tiles; in the plain version they are darker than every tile, which takes the tilt away.
  void cafeWallMortarDecidesTheTilt() {
    for (std::string_view file : {content::kSlope1, content::kSlope2}) {
      const QImage wall = Load(FileName(file));
      std::vector<int> mortar;
      int lightest = 0, darkestTile = 255;
      for (int y = 0; y < wall.height(); ++y) {
        int lo = 255, hi = 0;
        for (int x = 0; x < wall.width(); ++x) {
          const int l = Luma(wall.pixel(x, y));
          lo = std::min(lo, l), hi = std::max(hi, l);
        }
        if (hi - lo < 24) {
          mortar.push_back((lo + hi) / 2);
        } else {
          lightest = std::max(lightest, hi);
          darkestTile = std::min(darkestTile, lo);
        }
      }
      QVERIFY2(mortar.size() >= 6, file.data());
      for (int m : mortar) {
        if (file == content::kSlope1) {
          QVERIFY(m > darkestTile + 60 && m < lightest - 60);
        } else {
          QVERIFY(m < darkestTile - 60);
        }
      }
    }
  }

  // The stimuli are strong, the fields they are followed by are plain, and the point to fix
  // on stays where it was.
  void afterimagePairs() {
    auto plainShare = [](const QImage& image) {
      int plain = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) plain += Luma(image.pixel(x, y)) > 240;
      }
      return double(plain) / (double(image.width()) * image.height());
    };
    const QImage bulb = Load(FileName(content::kLightbulb1)),
                 bulbField = Load(FileName(content::kLightbulb2));
    const QImage squares = Load(FileName(content::kColorSq1)),
                 squaresField = Load(FileName(content::kColorSq2));
    QVERIFY(plainShare(bulbField) > 0.99);
    QVERIFY(plainShare(squaresField) > 0.99);
    QVERIFY(plainShare(bulb) < 0.8);

    int saturated = 0;
    for (int y = 0; y < squares.height(); ++y) {
      for (int x = 0; x < squares.width(); ++x)
        saturated += QColor(squares.pixel(x, y)).hsvSaturation() > 200;
    }
    QVERIFY(saturated > squares.width() * squares.height() / 3);
    // The fixation cross, in the middle of both pictures.
    const QPoint c(squares.width() / 2, squares.height() / 2);
    QVERIFY(Luma(squares.pixel(c)) < 60 && Luma(squaresField.pixel(c)) < 60);
    for (int d = -12; d <= 12; ++d) {
      const QPoint a = c + QPoint(d, 0), b = c + QPoint(0, d);
      QVERIFY(std::abs(Luma(squares.pixel(a)) - Luma(squaresField.pixel(a))) < 40);
      QVERIFY(std::abs(Luma(squares.pixel(b)) - Luma(squaresField.pixel(b))) < 40);
    }
  }

  // Rubin's vase: black at both sides, white down the middle, the two faces mirror images.
  void vaseBetweenTwoFaces() {
    const QImage faces = Load(FileName(content::kFaces));
    const int w = faces.width(), h = faces.height();
    int mismatch = 0, whiteMiddle = 0;
    for (int y = 0; y < h; ++y) {
      QCOMPARE(Luma(faces.pixel(0, y)), 0);
      QCOMPARE(Luma(faces.pixel(w - 1, y)), 0);
      whiteMiddle += Luma(faces.pixel(w / 2, y)) == 255;
      for (int x = 0; x < w; ++x) {
        mismatch += std::abs(Luma(faces.pixel(x, y)) - Luma(faces.pixel(w - 1 - x, y))) > 128;
      }
    }
    QCOMPARE(whiteMiddle, h);
    QVERIFY(mismatch < w * h / 200);
  }

  // From afar is the close-up low-passed: the same masses, without the fine detail.
  void skullIsTheLadySeenFromAfar() {
    const QImage afar = Load(FileName(content::kHead1)), near = Load(FileName(content::kHead2));
    const QSize small(afar.width() / 10, afar.height() / 10);
    const QImage a = afar.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage b = near.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double diff = 0;
    for (int y = 0; y < small.height(); ++y) {
      for (int x = 0; x < small.width(); ++x)
        diff += std::abs(Luma(a.pixel(x, y)) - Luma(b.pixel(x, y)));
    }
    QVERIFY(diff / (small.width() * small.height()) < 12);
    auto detail = [](const QImage& image) {
      double sum = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 1; x < image.width(); ++x) {
          sum += std::abs(Luma(image.pixel(x, y)) - Luma(image.pixel(x - 1, y)));
        }
      }
      return sum;
    };
    QVERIFY(detail(afar) * 2 < detail(near));
  }

  // The package's icon: drawn the same on every run, 256 x 256, an eye on a transparent
  // ground: clear corners, a dark opaque pupil in the middle, a blue iris around it.
  void iconIsAnEyeOnATransparentGround() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray bytes[2];
    for (QByteArray& b : bytes) {
      const QString file = dir.filePath("sub/lumora.png");
      QFile::remove(file);
      QProcess gen;
      gen.start(LUMORA_ASSETGEN, {"--icon", file});
      QVERIFY(gen.waitForFinished(60000));
      QVERIFY2(gen.exitCode() == 0, gen.readAllStandardError().constData());
      QFile f(file);
      QVERIFY(f.open(QIODevice::ReadOnly));
      b = f.readAll();
    }
    QVERIFY2(bytes[0] == bytes[1], "the icon differs between two runs");
    QFile built(LUMORA_ICON);
    QVERIFY(built.open(QIODevice::ReadOnly));
    QVERIFY2(built.readAll() == bytes[0], "the icon of the build is not the generator's");

    QImage icon;
    QVERIFY(icon.loadFromData(bytes[0], "PNG"));
    QCOMPARE(icon.size(), QSize(256, 256));
    QVERIFY(icon.hasAlphaChannel());
    for (const QPoint corner : {QPoint(2, 2), QPoint(253, 2), QPoint(2, 253), QPoint(253, 253)})
      QCOMPARE(qAlpha(icon.pixel(corner)), 0);
    const QRgb pupil = icon.pixel(128, 128);
    QCOMPARE(qAlpha(pupil), 255);
    QVERIFY(Luma(pupil) < 40);
    int blue = 0;
    for (int a = 0; a < 360; a += 30) {
      const QRgb iris = icon.pixel(128 + int(45 * std::cos(a * std::numbers::pi / 180)),
                                   128 + int(45 * std::sin(a * std::numbers::pi / 180)));
      if (qAlpha(iris) == 255 && qBlue(iris) > qRed(iris) + 40) ++blue;
    }
    QVERIFY2(blue >= 10, qPrintable(QString("the iris is blue at %1 of 12 places").arg(blue)));
  }
};

QTEST_MAIN(TestAssets)
#include "test_assets.moc"
