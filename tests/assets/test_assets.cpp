// The course pictures as the build leaves them beside the course executable: each one is there,
// is what its name says, has the size the pages are laid out for, and really shows its
// illusion. The generator is run again to check that it draws the same bytes every time.
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

namespace {

struct Expected {
  const char* file;
  int width, height;
  bool atLeast;  // page backgrounds may be larger than the client area
};

constexpr Expected kPictures[] = {
    {"bg5.jpg", 661, 508, true},          {"bg3.jpg", 661, 508, true},
    {"bg.jpg", 661, 508, true},           {"realeye.jpg", 76, 94, false},
    {"eyefront.jpg", 408, 286, false},    {"eyecross1.gif", 408, 245, false},
    {"work.gif", 309, 198, false},        {"spot.gif", 39, 39, false},
    {"ten.gif", 39, 39, false},           {"0grey1.jpg", 353, 113, false},
    {"0grey2.jpg", 353, 81, false},       {"1line1.gif", 489, 265, false},
    {"2line2.jpg", 497, 249, false},      {"3square1.gif", 385, 241, false},
    {"3square2.gif", 209, 193, false},    {"4slope1.jpg", 545, 273, false},
    {"4slope2.jpg", 545, 273, false},     {"5lightbulb1.jpg", 257, 377, false},
    {"5lightbulb2.jpg", 257, 377, false}, {"6colorsq1.jpg", 425, 393, false},
    {"6colorsq2.jpg", 425, 393, false},   {"8faces.gif", 329, 369, false},
    {"9head1.jpg", 273, 297, false},      {"9head2.jpg", 273, 297, false},
};

int Luma(QRgb c) {
  return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
}

double MeanLuma(const QImage& image, const QRect& area) {
  double sum = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) sum += Luma(image.pixel(x, y));
  }
  return sum / (double(area.width()) * area.height());
}

// A page label over a diagram: its box in twips on the page, and how many characters it holds.
struct Label {
  int chars, left, top, width, height;
};
struct Diagram {
  const char* file;
  int imageLeft, imageTop, fontPixels;
  std::vector<Label> labels;
};

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

  void everyPictureIsItsFormatAndSize_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("atLeast");
    for (const Expected& e : kPictures) {
      QTest::newRow(e.file) << e.file << QSize(e.width, e.height) << e.atLeast;
    }
  }

  void everyPictureIsItsFormatAndSize() {
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(bool, atLeast);
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
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    if (atLeast) {
      QVERIFY(image.width() >= size.width() && image.height() >= size.height());
    } else {
      QCOMPARE(image.size(), size);
    }
  }

  // Two runs into empty folders write exactly the 24 pictures, byte for byte the same.
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
    for (const Expected& e : kPictures) expected << e.file;
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
    for (const char* file : {"bg5.jpg", "bg3.jpg", "bg.jpg"}) {
      const QImage image = Load(file);
      int darkest = 255;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
          darkest = std::min(darkest, Luma(image.pixel(x, y)));
      }
      QVERIFY2(darkest >= 170, file);
      QVERIFY2(MeanLuma(image, image.rect()) >= 225, file);
    }
    // Behind the illusions the ground stays plain: no pattern to compete with them.
    const QImage bg = Load("bg.jpg");
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
    const Diagram diagrams[] = {
        {"eyefront.jpg",
         1800,
         2520,
         32,
         {{2, 1680, 3000, 1335, 615},
          {2, 1560, 4200, 1335, 615},
          {2, 1680, 5520, 1335, 615},
          {2, 6720, 2880, 1335, 615},
          {2, 7080, 3600, 1335, 615},
          {3, 6960, 5280, 1695, 615}}},
        {"eyecross1.gif",
         2040,
         2280,
         32,
         {{2, 1080, 2760, 1575, 735},
          {2, 1080, 3480, 1575, 735},
          {3, 720, 4560, 2055, 735},
          {2, 1440, 5400, 1455, 735},
          {2, 7440, 2400, 1455, 615},
          {3, 7320, 3120, 2175, 735},
          {3, 7560, 3840, 1575, 735},
          {2, 7080, 5160, 1335, 735}}},
        {"work.gif", 2640, 3480, 21, {{3, 2760, 3480, 1095, 375}, {3, 4560, 3720, 1095, 375}}},
    };
    for (const Diagram& d : diagrams) {
      const QImage image = Load(d.file);
      for (const Label& l : d.labels) {
        // Centred one-line caption: about one em per character, at the top of the box.
        const double cx = (l.left - d.imageLeft + l.width / 2.0) / 15.0;
        const QRect text(int(cx - l.chars * d.fontPixels / 2.0), (l.top - d.imageTop) / 15,
                         l.chars * d.fontPixels, d.fontPixels);
        const QRect inside = text.intersected(image.rect());
        QVERIFY2(
            inside.width() > 8,
            qPrintable(QString("%1: label at x %2 misses the picture").arg(d.file).arg(text.x())));
        int dark = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
          for (int x = inside.left(); x <= inside.right(); ++x)
            dark += Luma(image.pixel(x, y)) < 200;
        }
        QVERIFY2(dark <= inside.width() * inside.height() / 100,
                 qPrintable(QString("%1: %2 dark pixels under the label at (%3, %4)")
                                .arg(d.file)
                                .arg(dark)
                                .arg(text.x())
                                .arg(text.y())));
      }
      // And the diagram itself is there: plenty of drawing outside the labels.
      int drawn = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) drawn += Luma(image.pixel(x, y)) < 235;
      }
      QVERIFY2(drawn > image.width() * image.height() / 8, d.file);
    }
  }

  void blindSpotMarks() {
    const QImage spot = Load("spot.gif"), ten = Load("ten.gif");
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
    const QImage squares = Load("0grey1.jpg"), proof = Load("0grey2.jpg");
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
    const QImage grid = Load("1line1.gif");
    int whiteRows = 0, whiteCols = 0;
    bool inStreet = false;
    const int w = grid.width(), h = grid.height();
    auto rowWhite = [&](int y) {
      for (int x = 0; x < w; ++x) {
        if (grid.pixel(x, y) != qRgb(255, 255, 255)) return false;
      }
      return true;
    };
    auto colWhite = [&](int x) {
      for (int y = 0; y < h; ++y) {
        if (grid.pixel(x, y) != qRgb(255, 255, 255)) return false;
      }
      return true;
    };
    // Count white bands strictly between black rows and columns.
    int firstBlackRow = 0, lastBlackRow = h - 1, firstBlackCol = 0, lastBlackCol = w - 1;
    while (rowWhite(firstBlackRow)) ++firstBlackRow;
    while (rowWhite(lastBlackRow)) --lastBlackRow;
    while (colWhite(firstBlackCol)) ++firstBlackCol;
    while (colWhite(lastBlackCol)) --lastBlackCol;
    for (int y = firstBlackRow; y <= lastBlackRow; ++y) {
      if (rowWhite(y) && !inStreet) ++whiteRows;
      inStreet = rowWhite(y);
    }
    inStreet = false;
    for (int x = firstBlackCol; x <= lastBlackCol; ++x) {
      if (colWhite(x) && !inStreet) ++whiteCols;
      inStreet = colWhite(x);
    }
    QVERIFY(whiteRows >= 3);
    QVERIFY(whiteCols >= 5);
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
    const QImage grid = Load("2line2.jpg");
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
    const QImage cross = Load("3square1.gif"), enlarged = Load("3square2.gif");
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
    for (const char* file : {"4slope1.jpg", "4slope2.jpg"}) {
      const QImage wall = Load(file);
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
      QVERIFY2(mortar.size() >= 6, file);
      for (int m : mortar) {
        if (QByteArray(file) == "4slope1.jpg") {
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
    const QImage bulb = Load("5lightbulb1.jpg"), bulbField = Load("5lightbulb2.jpg");
    const QImage squares = Load("6colorsq1.jpg"), squaresField = Load("6colorsq2.jpg");
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
    const QImage faces = Load("8faces.gif");
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
    const QImage afar = Load("9head1.jpg"), near = Load("9head2.jpg");
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
