// The picture reader on the course's own pictures, spoilt at their end in the ways files are
// found spoilt, and on every hostile input it once failed on.
#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

#include "content/assets.h"
#include "forms/failure.h"
#include "shell/picturefile.h"
#include "tests/faults/gif.h"

namespace {

using testing::Gif;

const QString kPath = QStringLiteral("/course/picture");

QString CourseFolder() { return QString::fromLocal8Bit(qgetenv("LUMORA_BIN")); }

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The failure's message, or an empty string when a picture came out.
QString Refusal(const QByteArray& bytes) {
  try {
    shell::DecodePicture(bytes, kPath);
    return {};
  } catch (const forms::Failure& failure) {
    return failure.Message();
  }
}

QByteArray Progressive(const QByteArray& jpeg) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setProgressiveScanWrite(true);
  return writer.write(QImage::fromData(jpeg)) ? out : QByteArray();
}

// The course's pictures, and each JPEG once more written progressively (several scans).
void PictureRows() {
  QTest::addColumn<QByteArray>("picture");
  for (std::string_view asset : content::kPictures) {
    const QString name = QString::fromLatin1(asset.data(), qsizetype(asset.size())).mid(1);
    const QByteArray bytes = ReadAll(CourseFolder() + '/' + name);
    QTest::newRow(qPrintable(name)) << bytes;
    if (name.endsWith(QLatin1String(".jpg")))
      QTest::newRow(qPrintable(name + " progressive")) << Progressive(bytes);
  }
}

}  // namespace

class PictureFileTest : public QObject {
  Q_OBJECT
 private slots:
  // What a phone, an editor or a copy leaves after the end of a picture does not matter.
  void dataAfterTheEndIsIgnored_data() { PictureRows(); }
  void dataAfterTheEndIsIgnored() {
    QFETCH(QByteArray, picture);
    QVERIFY(!picture.isEmpty());
    const QImage plain = shell::DecodePicture(picture, kPath);
    QByteArray noise(200, '\0');
    QRandomGenerator random(7);
    for (char& c : noise) c = char(random.bounded(256));
    const QByteArray tails[] = {noise, "Saved by a camera. \xff\xd8 Thumbnail follows.",
                                QByteArray(4096, '\0'), picture, QByteArray(3, '\xff')};
    for (const QByteArray& tail : tails) {
      const QImage image = shell::DecodePicture(picture + tail, kPath);
      QCOMPARE(image.size(), plain.size());
      QCOMPARE(image.pixel(image.width() / 2, image.height() / 2),
               plain.pixel(plain.width() / 2, plain.height() / 2));
    }
  }

  // No part of a picture short of its end marker is shown, wherever it was cut.
  void cutPictureIsRefused_data() { PictureRows(); }
  void cutPictureIsRefused() {
    QFETCH(QByteArray, picture);
    const qsizetype size = picture.size();
    QVERIFY(size > 64);
    for (qsizetype cut = 0; cut < size;
         cut += (cut < 64 || size - cut < 64) ? 1 : std::max<qsizetype>(1, size / 300)) {
      const QString refusal = Refusal(picture.left(cut));
      QVERIFY2(refusal.endsWith(kPath), qPrintable(QStringLiteral("cut at %1").arg(cut)));
      if (cut >= 6) QVERIFY2(refusal.contains(QStringLiteral("檔案不完整")), qPrintable(refusal));
    }
  }

  // A thumbnail inside a photograph has an end marker of its own; a picture cut just after it
  // has still lost its end.
  void endOfAThumbnailIsNotTheEnd() {
    const QByteArray thumbnail = ReadAll(CourseFolder() + "/0grey1.jpg");
    const QByteArray picture = ReadAll(CourseFolder() + "/bg.jpg");
    QVERIFY(thumbnail.size() < 65000 && picture.size() > 2);
    QByteArray segment("\xff\xe1", 2);
    segment.append(char((thumbnail.size() + 2) >> 8)).append(char((thumbnail.size() + 2) & 0xff));
    segment.append(thumbnail);
    const QByteArray withThumbnail = picture.left(2) + segment + picture.mid(2);
    QCOMPARE(shell::DecodePicture(withThumbnail, kPath).size(),
             shell::DecodePicture(picture, kPath).size());
    QVERIFY(Refusal(withThumbnail.left(2 + segment.size())).contains(QStringLiteral("檔案不完整")));
  }

  // The size the decoder would allocate counts, also where the reader reports only a frame's.
  void tooLargePictureIsRefusedBeforeDecoding_data() {
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<bool>("shown");
    QTest::newRow("4096 x 4096") << Gif(4096, 4096, 1, 1) << true;
    QTest::newRow("4097 wide") << Gif(4097, 1, 1, 1) << false;
    QTest::newRow("large screen, small frame") << Gif(8000, 8000, 1, 1) << false;
    QTest::newRow("frame past the screen") << Gif(16, 16, 5000, 1) << false;
  }
  void tooLargePictureIsRefusedBeforeDecoding() {
    QFETCH(QByteArray, picture);
    QFETCH(bool, shown);
    const QString refusal = Refusal(picture);
    if (shown)
      QCOMPARE(refusal, QString());
    else
      QVERIFY2(refusal.startsWith(QStringLiteral("圖片太大")) && refusal.endsWith(kPath),
               qPrintable(refusal));
  }

  // Inputs that once crashed, hung or blew up the reader, kept small. Each file's name says
  // what it must come to: NAME.shown.EXT or NAME.refused.EXT.
  void hostileInputs() {
    const QDir dir(QString::fromLocal8Bit(qgetenv("LUMORA_REGRESSIONS")));
    const QStringList names = dir.entryList(QDir::Files);
    QVERIFY2(!names.isEmpty(), qPrintable(dir.path()));
    for (const QString& name : names) {
      const QString refusal = Refusal(ReadAll(dir.filePath(name)));
      if (name.contains(QLatin1String(".shown.")))
        QVERIFY2(refusal.isEmpty(), qPrintable(name + ": " + refusal));
      else
        QVERIFY2(refusal.endsWith(kPath), qPrintable(name + ": " + refusal));
    }
  }
};

QTEST_GUILESS_MAIN(PictureFileTest)
#include "test_picturefile.moc"
