// The senses chapter: introduction pages, the index and the ten illusions.
#include <QDir>
#include <QFile>
#include <QTest>

#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

bool Shown(forms::Page* p, const char* control) { return p->Find(control).Visible(); }

qint64 KeyOf(forms::Page* p) { return p->ImageNamed("Image1").Picture().cacheKey(); }

QImage PictureOf(forms::Page* p) { return p->ImageNamed("Image1").Picture().toImage(); }

// A stand-in for the animation program: notes each start in the folder it runs in.
void WriteStarter(const QString& path) {
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write("#!/bin/sh\necho started >> \"$PWD/started.txt\"\n");
  f.close();
  f.setPermissions(f.permissions() | QFile::ExeOwner);
}

}  // namespace

class IllusionsTest : public QObject {
  Q_OBJECT
 private slots:
  void introductionPagesLeadOn() {
    Harness h;
    h.GoTo("Form2");
    QCOMPARE(h.Page()->LabelNamed("Label1").Caption(),
             QStringLiteral("腦部與感覺（The Brain and the Senses）"));
    QVERIFY(!h.Page()->Picture().isNull());
    QCOMPARE(h.Focus(), &h.Page()->Find("Back").Widget());  // Label1 has tab 0 but no focus
    h.Click("Next");
    QCOMPARE(h.Page()->LabelNamed("Label1").Caption(),
             QStringLiteral("視錯覺（Optical Illusion）"));
    h.Click("Next");
    QCOMPARE(h.PageName(), QStringLiteral("Form4"));
    h.Click("Back");
    QCOMPARE(h.PageName(), QStringLiteral("Form3"));
    h.Click("Back");
    h.Click("Back");
    QCOMPARE(h.PageName(), QStringLiteral("Form16"));
  }

  void indexOpensEachIllusionAsking() {
    Harness h;
    for (int k = 0; k < 10; ++k) {
      h.GoTo("Form4");
      QCOMPARE(h.Page()->LabelNamed("Label1").Caption(),
               QStringLiteral("以下是一些「視錯覺」的圖像："));
      h.Click("image", k);
      QCOMPARE(h.PageName(), QStringLiteral("Form%1").arg(5 + k));
      QVERIFY(!Shown(h.Page(), "Label2"));
      QVERIFY(Shown(h.Page(), "Label1"));
      if (k == 0 || k == 3) QVERIFY(!Shown(h.Page(), "Image2"));
      h.Click("Index");
      QCOMPARE(h.PageName(), QStringLiteral("Form4"));
      h.Click("Menu");
      QCOMPARE(h.PageName(), QStringLiteral("Form17"));
    }
    h.GoTo("Form4");
    QCOMPARE(h.Focus(), &h.Page()->Find("image", 0).Widget());
    h.Key(Qt::Key_Return);
    QCOMPARE(h.PageName(), QStringLiteral("Form5"));
  }

  void chainRunsBothWays() {
    Harness h;
    h.GoTo("Form5");
    for (int k = 6; k <= 14; ++k) {
      h.Click("Next");
      QCOMPARE(h.PageName(), QStringLiteral("Form%1").arg(k));
    }
    QVERIFY_THROWS_EXCEPTION(forms::Failure, h.Page()->Find("Next"));
    for (int k = 13; k >= 5; --k) {
      h.Click("Back");
      QCOMPARE(h.PageName(), QStringLiteral("Form%1").arg(k));
    }
    h.Click("Back");
    QCOMPARE(h.PageName(), QStringLiteral("Form4"));
  }

  void explainRevealsOnceAndForgetsOnLeaving() {
    Harness h;
    for (const char* page : {"Form5", "Form8"}) {
      h.GoTo(page);
      h.Click("Explain");
      QVERIFY(Shown(h.Page(), "Label2") && Shown(h.Page(), "Image2"));
      const qint64 key = KeyOf(h.Page());
      h.Click("Explain");
      QVERIFY(Shown(h.Page(), "Label2") && Shown(h.Page(), "Image2"));
      QCOMPARE(KeyOf(h.Page()), key);
      h.Click("Next");
      h.Click("Back");
      QVERIFY(!Shown(h.Page(), "Label2") && !Shown(h.Page(), "Image2"));
    }
  }

  void explainOnForm9AlsoStraightensThePicture() {
    Harness h;
    h.GoTo("Form9");
    const QImage askew = PictureOf(h.Page());
    h.Click("Explain");
    QVERIFY(Shown(h.Page(), "Label2"));
    const QImage straight = PictureOf(h.Page());
    QVERIFY(straight != askew);
    h.Click("Explain");
    QCOMPARE(PictureOf(h.Page()), straight);
    // The second picture is read at every press: without it the press fails.
    h.Remove("4slope2.jpg");
    h.Click("Explain");
    QCOMPARE(h.Status(), std::optional<int>(1));
    QVERIFY(h.Reports().value(0).contains(h.File("4slope2.jpg")));
  }

  void nextStepReplacesThePictureOnly() {
    Harness h;
    for (const char* page : {"Form10", "Form11", "Form14"}) {
      h.GoTo(page);
      const QImage first = PictureOf(h.Page());
      const QPoint corner = h.Page()->ImageNamed("Image1").pos();
      h.Click("NextStep");
      const QImage second = PictureOf(h.Page());
      QVERIFY(second != first);
      QVERIFY(!Shown(h.Page(), "Label2"));
      h.Click("NextStep");
      QCOMPARE(PictureOf(h.Page()), second);
      QCOMPARE(h.Page()->ImageNamed("Image1").pos(), corner);
      h.Click("Explain");
      QVERIFY(Shown(h.Page(), "Label2"));
      QCOMPARE(PictureOf(h.Page()), second);
      h.Click("Back");
      h.Click("Next");
      QCOMPARE(PictureOf(h.Page()), first);
      QVERIFY(!Shown(h.Page(), "Label2"));
    }
  }

  void explainBeforeNextStepOnTheLastIllusion() {
    Harness h;
    h.GoTo("Form14");
    const QImage first = PictureOf(h.Page());
    h.Click("Explain");
    QVERIFY(Shown(h.Page(), "Label2"));
    QCOMPARE(PictureOf(h.Page()), first);
    h.Click("NextStep");
    QVERIFY(PictureOf(h.Page()) != first);
    QVERIFY(Shown(h.Page(), "Label2"));
  }

  void secondPictureOfAnotherSizeResizesTheBox() {
    Harness h;
    QFile::remove(h.File("5lightbulb2.jpg"));
    QImage small(120, 80, QImage::Format_RGB32);
    small.fill(Qt::white);
    QVERIFY(small.save(h.File("5lightbulb2.jpg"), "JPEG"));
    h.GoTo("Form10");
    forms::ImageBox& img = h.Page()->ImageNamed("Image1");
    const forms::TwipRect before = img.Twips();
    h.Click("NextStep");
    QCOMPARE(img.size(), QSize(120, 80));
    QCOMPARE(img.Twips().left, before.left);
    QCOMPARE(img.Twips().top, before.top);
    QCOMPARE(img.Twips().width, 1800);
  }

  void missingSecondPictureFailsOnlyOnThePress() {
    Harness h;
    h.Remove("9head2.jpg");
    h.GoTo("Form14");
    h.Click("Explain");
    QVERIFY(!h.Status());
    h.Click("NextStep");
    QCOMPARE(h.Status(), std::optional<int>(1));
    QVERIFY(h.Reports().value(0).contains(h.File("9head2.jpg")));
    QCOMPARE(h.VisiblePages(), 0);
  }

  void missingFirstPictureFailsAtLoad() {
    Harness h;
    h.Remove("1line1.gif");
    h.GoTo("Form4");
    h.Click("image", 1);
    QCOMPARE(h.Status(), std::optional<int>(1));
    QVERIFY(h.Reports().value(0).contains(h.File("1line1.gif")));
    QCOMPARE(h.VisiblePages(), 0);
  }

  void animationStartsItsProgramAtEveryPress() {
    Harness h(QStringLiteral("課程 folder"));
    h.Remove("7optical.exe");
    WriteStarter(h.File("7optical.exe"));
    h.GoTo("Form12");
    QVERIFY(!h.Page()->ContainerNamed("OLE1").isEnabled());
    QCOMPARE(h.Focus(), &h.Page()->Find("Index").Widget());
    h.Click("Explain");  // before any start
    QVERIFY(Shown(h.Page(), "Label2"));
    h.Click("NextStep");
    h.Click("NextStep");
    QTRY_COMPARE_WITH_TIMEOUT(QFile(h.File("started.txt")).size(), qint64(16), 5000);
    QVERIFY(!h.Status());
    // The container itself ignores the pupil.
    QTest::mouseDClick(&h.Page()->Find("OLE1").Widget(), Qt::LeftButton);
    QTest::qWait(200);
    QCOMPARE(QFile(h.File("started.txt")).size(), qint64(16));
    h.Click("Back");
    QCOMPARE(h.PageName(), QStringLiteral("Form11"));
  }

  void animationProgramThatCannotRunFailsAtLoad_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("missing") << "missing";
    QTest::newRow("directory") << "dir";
    QTest::newRow("not executable") << "noexec";
  }
  void animationProgramThatCannotRunFailsAtLoad() {
    QFETCH(QString, damage);
    Harness h;
    const QString path = h.File("7optical.exe");
    QFile::remove(path);
    if (damage == "dir") QDir().mkdir(path);
    if (damage == "noexec") {
      QFile f(path);
      f.open(QIODevice::WriteOnly);
      f.write("#!/bin/sh\n");
      f.close();
      f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    h.GoTo("Form4");
    h.Click("image", 7);
    QCOMPARE(h.Status(), std::optional<int>(1));
    QVERIFY2(h.Reports().value(0).contains(path), qPrintable(h.Reports().value(0)));
    QCOMPARE(h.VisiblePages(), 0);
  }
};

LUMORA_TEST_MAIN(IllusionsTest)
#include "test_illusions.moc"
