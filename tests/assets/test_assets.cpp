// The course pictures as the build leaves them beside the course executable: each one is there,
// is what its name says, fits the place its page gives it, and really shows its illusion. The
// generator is run again to check that it draws the same bytes every time.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "content/assets.h"
#include "pagedesc/pagedesc.h"
#include "tests/support/coursemap.h"

namespace {

QString FileName(std::string_view picture) {
  return QString::fromLatin1(picture.substr(1).data(), static_cast<qsizetype>(picture.size() - 1));
}

int Luma(QRgb c) { return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000; }

// Sums f over the pixels of an area (the whole picture by default).
template <class F>
double Sum(const QImage& image, F f, QRect area = {}) {
  if (area.isNull()) area = image.rect();
  double sum = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) sum += f(image.pixel(x, y));
  return sum;
}

double MeanLuma(const QImage& image) {
  return Sum(image, Luma) / (double(image.width()) * image.height());
}

// The energy of the finest detail: the mean square of the luma's Laplacian.
double Detail(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const auto at = [&](int x, int y) { return double(Luma(rgb.pixel(x, y))); };
  double sum = 0;
  for (int y = 1; y + 1 < rgb.height(); ++y)
    for (int x = 1; x + 1 < rgb.width(); ++x) {
      const double v = 4 * at(x, y) - at(x - 1, y) - at(x + 1, y) - at(x, y - 1) - at(x, y + 1);
      sum += v * v;
    }
  return sum / ((rgb.width() - 2.0) * (rgb.height() - 2.0));
}

// The picture after a round through a JPEG file of the generator's quality.
QImage ThroughJpeg(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG", 90);
  return QImage::fromData(bytes, "JPEG");
}

// Every finer drawing of a picture, by its factor, as the course finds it.
std::vector<std::pair<int, QString>> Variants(std::string_view picture) {
  std::vector<std::pair<int, QString>> files;
  for (const int factor : content::kVariantFactors)
    files.emplace_back(factor, FileName(content::VariantName(picture, factor)));
  return files;
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

  // Runs the picture generator; its complaints go to the log.
  static bool Generate(const QStringList& args) {
    QProcess gen;
    gen.start(LUMORA_ASSETGEN, args);
    const bool ok = gen.waitForFinished(60000) && gen.exitStatus() == QProcess::NormalExit &&
                    gen.exitCode() == 0;
    if (!ok) qWarning("%s", gen.readAllStandardError().constData());
    return ok;
  }

  static QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

 private slots:
  void initTestCase() {
    const QByteArray dir = qgetenv("LUMORA_BIN");
    QVERIFY2(!dir.isEmpty(), "LUMORA_BIN is not set");
    bin_ = QDir(QString::fromLocal8Bit(dir));
  }

  // Every picture can be read by any pupil's account (installed for a computer room) and is the
  // format its name says. An image box takes its picture's natural size, so each box needs a
  // picture of the size it was laid out with; each picture fills such a box, a picture button,
  // or a whole page.
  void everyPictureIsReadableAndFitsAPlace() {
    std::vector<QSize> sizes;
    for (std::string_view picture : content::kPictures) {
      const QString file = bin_.filePath(FileName(picture));
      QVERIFY2(QFile::permissions(file).testFlag(QFile::ReadOther), qPrintable(file));
      QCOMPARE(QImageReader(file).format(),
               file.endsWith(".gif") ? QByteArray("gif") : QByteArray("jpeg"));
      sizes.push_back(Load(FileName(picture)).size());
    }
    QSet<int> placed;
    for (const shell::PageEntry& entry : app::Course()) {
      const pagedesc::PageDescription& page = entry.description;
      for (int i = 0; i < int(sizes.size()); ++i)
        if (sizes[i].width() * 15 >= page.clientWidth &&
            sizes[i].height() * 15 >= page.clientHeight)
          placed << i;
      for (const pagedesc::ControlDescription& c : page.controls) {
        const QSize box(c.width / 15, c.height / 15);
        bool fits = c.kind != pagedesc::Kind::Image;
        for (int i = 0; i < int(sizes.size()); ++i) {
          const bool face = c.graphical && sizes[i].expandedTo(box) == sizes[i];
          if (face || (c.kind == pagedesc::Kind::Image && sizes[i] == box))
            placed << i, fits = true;
        }
        QVERIFY2(
            fits,
            qPrintable(
                QString("%1 %2: no picture of its size").arg(page.name.data(), c.name.data())));
      }
    }
    for (int i = 0; i < int(sizes.size()); ++i)
      QVERIFY2(placed.contains(i), qPrintable(FileName(content::kPictures[i]) + " fits no place"));
  }

  // Two runs into empty folders write exactly the course's pictures, byte for byte the same.
  void generatorDrawsTheSameBytesEveryRun() {
    QTemporaryDir first, second;
    QVERIFY(first.isValid() && second.isValid());
    QVERIFY(Generate({first.path()}) && Generate({second.path()}));
    QStringList expected;
    for (std::string_view picture : content::kPictures) {
      expected << FileName(picture);
      for (const auto& [factor, variant] : Variants(picture)) expected << variant;
    }
    expected.sort();
    QCOMPARE(QDir(first.path()).entryList(QDir::Files, QDir::Name), expected);
    for (const QString& name : expected)
      QVERIFY2(Bytes(first.filePath(name)) == Bytes(second.filePath(name)),
               qPrintable(name + " differs between two runs"));
  }

  // Each picture is drawn again two and three times as finely: readable by every account, in
  // the format of the picture, exactly that many pixels each way, and the same picture: brought
  // back to the designed size it differs from it by about what JPEG's coding or a GIF's palette
  // does.
  void everyVariantIsThePictureDrawnFiner() {
    for (std::string_view picture : content::kPictures) {
      const QImage designed = Load(FileName(picture));
      for (const auto& [factor, name] : Variants(picture)) {
        const QString file = bin_.filePath(name);
        QVERIFY2(QFile::permissions(file).testFlag(QFile::ReadOther), qPrintable(file));
        QCOMPARE(QImageReader(file).format(),
                 QImageReader(bin_.filePath(FileName(picture))).format());
        const QImage fine = Load(name);
        QCOMPARE(fine.size(), designed.size() * factor);
        const QImage back =
            fine.scaled(designed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double diff = 0;
        for (int y = 0; y < designed.height(); ++y)
          for (int x = 0; x < designed.width(); ++x)
            diff += std::abs(Luma(back.pixel(x, y)) - Luma(designed.pixel(x, y)));
        diff /= double(designed.width()) * designed.height();
        qInfo("%s: %.2f levels from the designed picture", qPrintable(name), diff);
        QVERIFY2(diff < 6, qPrintable(QString("%1: %2 levels apart").arg(name).arg(diff)));
      }
    }
  }

  // The finer drawings show detail that enlarging the designed picture cannot: the energy of
  // their finest frequencies is well above that of the designed picture smoothly enlarged, and
  // above what JPEG's coding adds to it. A picture with hardly any fine detail of its own (a
  // plain background, a picture blurred on purpose) need only be no worse than the enlargement.
  void variantsShowDetailAnEnlargementCannot() {
    constexpr double kFlat = 5;  // the detail of the plainest pictures with a pattern is above 7
    for (std::string_view picture : content::kPictures) {
      const QImage designed = Load(FileName(picture));
      const bool flat = Detail(designed) < kFlat;
      for (const auto& [factor, name] : Variants(picture)) {
        const QImage enlarged = designed.scaled(designed.size() * factor, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation);
        const double smooth = Detail(enlarged), coded = Detail(ThroughJpeg(enlarged));
        const double fine = Detail(Load(name));
        const double ratio = fine / std::max(smooth, coded);
        qInfo(
            "%s: detail %.2f, the designed picture enlarged %.2f (through JPEG %.2f): %.2f times%s",
            qPrintable(name), fine, smooth, coded, ratio, flat ? " (plain)" : "");
        if (flat)
          QVERIFY2(fine >= smooth, qPrintable(name + " is blurrier than an enlargement"));
        else
          QVERIFY2(ratio >= 2, qPrintable(name + " shows no more than an enlargement"));
      }
    }
  }

  // Black 14-pt text and the light-red explanations must read on the page backgrounds; behind
  // the illusions the ground stays plain, no pattern to compete with them.
  void backgroundsAreLightAndQuiet() {
    for (std::string_view file :
         {content::kTitleBackground, content::kMenuBackground, content::kBackground}) {
      const QImage image = Load(FileName(file));
      QVERIFY2(Sum(image, [](QRgb c) { return Luma(c) < 170; }) == 0, file.data());
      QVERIFY2(MeanLuma(image) >= 225, file.data());
    }
    const QImage bg = Load(FileName(content::kBackground));
    const double n = double(bg.width()) * bg.height(), mean = MeanLuma(bg);
    const double variance = Sum(bg, [](QRgb c) { return double(Luma(c)) * Luma(c); }) / n;
    QVERIFY(std::sqrt(variance - mean * mean) < 4);
  }

  // The characters of every part-name label stand on light, plain ground: no part of the
  // drawing and no leader line runs under them.
  void diagramLabelsStandOnPlainGround() {
    const std::tuple<std::string_view, const char*, const char*> diagrams[] = {
        {content::kEyeFront, "Form18", "Image2"},
        {content::kEyeCross, "Form19", "Image2"},
        {content::kWork, "Form22", "Image2"}};
    for (const auto& [picture, pageName, boxName] : diagrams) {
      const QString file = FileName(picture);
      const QImage image = Load(file);
      const pagedesc::PageDescription& page = *coursemap::Describe(pageName);
      const pagedesc::ControlDescription& box = *page.Find(boxName);
      int labels = 0;
      for (const pagedesc::ControlDescription& l : page.controls) {
        if (l.kind != pagedesc::Kind::Label || l.alignment != pagedesc::Alignment::Centre) continue;
        ++labels;
        // Centred one-line caption: about one em per character, at the top of the box.
        const int em = static_cast<int>(l.font->Points() * 96 / 72);
        const int chars = QString::fromUtf8(l.caption.data(), qsizetype(l.caption.size())).size();
        const double cx = (l.left - box.left + l.width / 2.0) / 15.0;
        const QRect text(int(cx - chars * em / 2.0), (l.top - box.top) / 15, chars * em, em);
        const QRect inside = text.intersected(image.rect());
        const QString at = QString("%1: label at (%2, %3)").arg(file).arg(text.x()).arg(text.y());
        QVERIFY2(inside.width() > 8, qPrintable(at + " misses the picture"));
        const double dark = Sum(
            image, [](QRgb c) { return Luma(c) < 200; }, inside);
        QVERIFY2(dark <= inside.width() * inside.height() / 100,
                 qPrintable(at + QString(": %1 dark pixels").arg(dark)));
      }
      QVERIFY2(labels >= 2, qPrintable(file));
      // And the diagram itself is there: plenty of drawing outside the labels.
      QVERIFY2(
          Sum(image, [](QRgb c) { return Luma(c) < 235; }) > image.width() * image.height() / 8,
          qPrintable(file));
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

  // Munker-White cross: one red everywhere; in one diagonal blue stripes run through the red
  // squares, in the other yellow ones; the enlarged view shows that same red.
  void redSquaresAreOneRed() {
    const QImage cross = Load(FileName(content::kSquare1)),
                 enlarged = Load(FileName(content::kSquare2));
    auto reds = [](const QImage& image) {
      QSet<QRgb> found;
      Sum(image, [&](QRgb c) {
        if (qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100) found.insert(c);
        return 0;
      });
      return found;
    };
    const QSet<QRgb> red = reds(cross);
    QCOMPARE(red.size(), 1);
    QCOMPARE(reds(enlarged), red);
    // What lies directly above the red, in each half of the picture.
    auto above = [&](int x0, int x1, auto colour) {
      int n = 0;
      for (int y = 1; y < cross.height() / 2; ++y)
        for (int x = x0; x < x1; ++x)
          n += red.contains(cross.pixel(x, y)) && !red.contains(cross.pixel(x, y - 1)) &&
               colour(cross.pixel(x, y - 1));
      return n;
    };
    const auto blue = [](QRgb c) { return qBlue(c) > 150 && qRed(c) < 100; };
    const auto yellow = [](QRgb c) { return qRed(c) > 150 && qGreen(c) > 150; };
    const int half = cross.width() / 2, w = cross.width();
    QVERIFY(above(0, half, blue) > 50 && above(0, half, yellow) == 0);
    QVERIFY(above(half, w, yellow) > 50 && above(half, w, blue) == 0);
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
        Sum(
            wall, [&](QRgb c) { return lo = std::min(lo, Luma(c)), hi = std::max(hi, Luma(c)); },
            QRect(0, y, wall.width(), 1));
        if (hi - lo < 24)
          mortar.push_back((lo + hi) / 2);
        else
          lightest = std::max(lightest, hi), darkestTile = std::min(darkestTile, lo);
      }
      QVERIFY2(mortar.size() >= 6, file.data());
      for (int m : mortar)
        QVERIFY(file == content::kSlope1 ? m > darkestTile + 60 && m < lightest - 60
                                         : m < darkestTile - 60);
    }
  }

  // The stimuli are strong, the fields they are followed by are plain, and the point to fix
  // on stays where it was.
  void afterimagePairs() {
    auto plainShare = [](const QImage& image) {
      return Sum(image, [](QRgb c) { return Luma(c) > 240; }) / (image.width() * image.height());
    };
    const QImage bulb = Load(FileName(content::kLightbulb1));
    const QImage squares = Load(FileName(content::kColorSq1)),
                 squaresField = Load(FileName(content::kColorSq2));
    QVERIFY(plainShare(Load(FileName(content::kLightbulb2))) > 0.99);
    QVERIFY(plainShare(squaresField) > 0.99);
    QVERIFY(plainShare(bulb) < 0.8);
    const double saturated = Sum(squares, [](QRgb c) { return QColor(c).hsvSaturation() > 200; });
    QVERIFY(saturated > squares.width() * squares.height() / 3);
    // The fixation cross, in the middle of both pictures.
    const QPoint c(squares.width() / 2, squares.height() / 2);
    QVERIFY(Luma(squares.pixel(c)) < 60 && Luma(squaresField.pixel(c)) < 60);
    for (int d = -12; d <= 12; ++d)
      for (const QPoint p : {c + QPoint(d, 0), c + QPoint(0, d)})
        QVERIFY(std::abs(Luma(squares.pixel(p)) - Luma(squaresField.pixel(p))) < 40);
  }

  // From afar is the close-up low-passed: the same masses.
  void skullIsTheLadySeenFromAfar() {
    const QImage afar = Load(FileName(content::kHead1)), near = Load(FileName(content::kHead2));
    const QSize small(afar.width() / 10, afar.height() / 10);
    const QImage a = afar.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage b = near.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double diff = 0;
    for (int y = 0; y < small.height(); ++y)
      for (int x = 0; x < small.width(); ++x)
        diff += std::abs(Luma(a.pixel(x, y)) - Luma(b.pixel(x, y)));
    QVERIFY(diff / (small.width() * small.height()) < 12);
  }

  // The package's icon: drawn the same on every run and by the build, 256 x 256, an eye on a
  // transparent ground: clear corners, a dark opaque pupil in the middle.
  void iconIsAnEyeOnATransparentGround() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("sub/lumora.png");
    QVERIFY(Generate({"--icon", file}));
    const QByteArray bytes = Bytes(file);
    QVERIFY(QFile::remove(file) && Generate({"--icon", file}));
    QVERIFY2(Bytes(file) == bytes, "the icon differs between two runs");
    QVERIFY2(Bytes(LUMORA_ICON) == bytes, "the icon of the build is not the generator's");
    QImage icon;
    QVERIFY(icon.loadFromData(bytes, "PNG"));
    QCOMPARE(icon.size(), QSize(256, 256));
    for (const QPoint corner : {QPoint(2, 2), QPoint(253, 2), QPoint(2, 253), QPoint(253, 253)})
      QCOMPARE(qAlpha(icon.pixel(corner)), 0);
    QCOMPARE(qAlpha(icon.pixel(128, 128)), 255);
    QVERIFY(Luma(icon.pixel(128, 128)) < 40);
  }

  // Windows' icon is the same eye at every size Windows asks for, as an icon reader finds it:
  // each entry the size it claims, with the colours and transparency of the package's icon
  // scaled to it (compared premultiplied: nearly clear pixels carry next to no colour).
  void windowsIconHoldsTheEyeAtEverySize() {
    QImage png;
    QVERIFY(png.load(LUMORA_ICON));
    QImageReader reader(LUMORA_WINDOWS_ICON, "ico");
    QList<int> sizes;
    do {
      const QImage entry = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
      QVERIFY2(!entry.isNull(), qPrintable(reader.errorString()));
      QCOMPARE(entry.width(), entry.height());
      sizes << entry.width();
      const QImage expected =
          png.convertToFormat(QImage::Format_ARGB32_Premultiplied)
              .scaled(entry.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      for (int y = 0; y < entry.height(); ++y)
        for (int x = 0; x < entry.width(); ++x) {
          const QRgb a = entry.pixel(x, y), b = expected.pixel(x, y);
          const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
          if (d > 2)
            QFAIL(
                qPrintable(QStringLiteral("%1 px: pixel %2,%3").arg(entry.width()).arg(x).arg(y)));
        }
    } while (reader.jumpToNextImage());
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, (QList<int>{16, 20, 24, 32, 40, 48, 64, 128, 256}));
  }
};

QTEST_MAIN(TestAssets)
#include "test_assets.moc"
