// A picture is decoded once for each content of its file, yet read at every visit: what lies in
// the course folder at the moment of the visit is what the pupil sees, or the failure reported.
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "forms/controls.h"
#include "forms/failure.h"
#include "forms/page.h"
#include "shell/picturecache.h"
#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

const QString kTitle = QStringLiteral("bg5.jpg");  // the title page's background
const QString kMenu = QStringLiteral("bg3.jpg");   // the menu's

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(f.write(bytes), bytes.size());
}

QImage Shown(const Harness& h) {
  return h.Page()->Picture().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Decoded(const QString& path) { return QImage(path).convertToFormat(QImage::Format_RGB32); }

}  // namespace

class PicturesCacheTest : public QObject {
  Q_OBJECT
 private slots:
  // The same bytes on a revisit are not decoded again: the page gets the very pixmap it had.
  void revisitWithSameBytesReusesThePicture() {
    Harness h;
    h.Start();
    const qint64 first = h.Page()->Picture().cacheKey();
    h.GoTo(QStringLiteral("Form2"));
    // Written again, byte for byte: a new modification time changes nothing.
    Write(h.File(kTitle), Bytes(h.File(kTitle)));
    h.Click(QStringLiteral("Back"));
    QCOMPARE(h.PageName(), QStringLiteral("Form16"));
    QCOMPARE(h.Page()->Picture().cacheKey(), first);
    QVERIFY(h.Reports().isEmpty());
  }

  // Another valid picture under the name is shown; the old one back again is shown again.
  void replacedPictureIsShown() {
    Harness h;
    h.Start();
    const QImage title = Shown(h);
    const QByteArray original = Bytes(h.File(kTitle));
    h.GoTo(QStringLiteral("Form2"));
    Write(h.File(kTitle), Bytes(h.File(kMenu)));
    h.Click(QStringLiteral("Back"));
    QCOMPARE(h.PageName(), QStringLiteral("Form16"));
    QCOMPARE(Shown(h), Decoded(h.File(kMenu)));
    QVERIFY(Shown(h) != title);

    h.GoTo(QStringLiteral("Form2"));
    Write(h.File(kTitle), original);
    h.Click(QStringLiteral("Back"));
    QCOMPARE(Shown(h), title);
    QVERIFY(h.Reports().isEmpty());
  }

  // A file spoilt or gone since the last visit fails there and then, naming the file, although
  // a good picture of that name was decoded before.
  void spoiltPictureFailsOnRevisit_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("said");
    QTest::newRow("cut in half") << "cut"
                                 << "檔案不完整";
    QTest::newRow("end marker lost") << "end"
                                     << "檔案不完整";
    QTest::newRow("too large") << "bomb"
                               << "圖片太大";
    QTest::newRow("removed") << "removed"
                             << "找不到圖片檔案";
  }
  void spoiltPictureFailsOnRevisit() {
    QFETCH(QString, how);
    QFETCH(QString, said);
    Harness h;
    h.Start();
    h.GoTo(QStringLiteral("Form2"));
    const QString path = h.File(kTitle);
    const QByteArray bytes = Bytes(path);
    if (how == QLatin1String("cut")) Write(path, bytes.left(bytes.size() / 2));
    if (how == QLatin1String("end")) Write(path, bytes.chopped(2));  // the JPEG end marker
    // A whole JPEG (frame header, one scan, end) that states 65535 x 65535 pixels.
    if (how == QLatin1String("bomb"))
      Write(path, QByteArray::fromHex("ffd8ffc0000b08ffffffff01011100ffda0008010100003f0000ffd9"));
    if (how == QLatin1String("removed")) h.Remove(kTitle);
    h.Click(QStringLiteral("Back"));
    QCOMPARE(h.Status(), std::optional<int>(1));
    QCOMPARE(h.Reports().size(), 1);
    const QString& report = h.Reports().front();
    QVERIFY2(report.contains(path) && report.contains(said), qPrintable(report));
  }

  // Pictures decoded ahead while the first page waits change nothing of what a first visit
  // shows or reports: the menu's picture, missing at start-up, fails only when the menu is
  // loaded; put back as another picture before that, the menu shows that one.
  void decodingAheadLeavesEveryVisitToItsFile() {
    for (const bool putBack : {false, true}) {
      Harness h;
      const QByteArray title = Bytes(h.File(kTitle));
      h.Remove(kMenu);
      h.Start();
      QVERIFY(h.Reports().isEmpty());
      if (putBack) Write(h.File(kMenu), title);
      h.PressPage(QPoint(600, 480));  // the title page leads to the menu
      if (putBack) {
        QVERIFY(h.Reports().isEmpty());
        QCOMPARE(Shown(h), Decoded(h.File(kTitle)));
      } else {
        QCOMPARE(h.Reports().size(), 1);
        QVERIFY(h.Reports().front().contains(h.File(kMenu)));
      }
    }
  }

  // What a page lists as the pictures its load shows, to be decoded ahead, is what it shows.
  void eachPageListsThePicturesItsLoadShows() {
    Harness h;
    h.Start();
    for (const shell::PageEntry& entry : h.Course().Map()) {
      h.GoTo(QUtf8StringView(entry.Name()).toString());
      const forms::Page& page = *h.Page();
      QSet<qint64> shown;
      if (!page.Picture().isNull()) shown << page.Picture().cacheKey();
      for (forms::Control* c : page.Controls()) {
        QPixmap picture;
        if (auto* button = dynamic_cast<forms::Button*>(c)) picture = button->Picture();
        if (auto* image = dynamic_cast<forms::ImageBox*>(c)) picture = image->Picture();
        if (!picture.isNull()) shown << picture.cacheKey();
      }
      QSet<qint64> listed;
      for (const std::string_view asset : entry.handlers.pictures)
        listed << h.Course().LoadAssetPicture(asset).pixmap.cacheKey();
      QVERIFY2(shown == listed, entry.Name().data());
    }
  }

  // One entry for each name however often its file changes, and a failed decode leaves none.
  void cacheHoldsOneEntryPerName() {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.jpg"));
    const QString source = testing::BuiltCourseFolder() + QLatin1Char('/');
    shell::PictureCache cache;
    for (const QString& file : {kTitle, kMenu, kTitle}) {
      Write(a, Bytes(source + file));
      QCOMPARE(cache.Read("\\a.jpg", a).toImage().convertToFormat(QImage::Format_RGB32),
               Decoded(source + file));
      QCOMPARE(cache.Size(), std::size_t(1));
    }
    Write(a, QByteArray("not a picture"));
    QVERIFY_THROWS_EXCEPTION(forms::Failure, cache.Read("\\a.jpg", a));
    QCOMPARE(cache.Size(), std::size_t(0));
  }
};

LUMORA_TEST_MAIN(PicturesCacheTest)
#include "test_pictures_cache.moc"
