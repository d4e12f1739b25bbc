// The senses chapter: introduction pages, the index and the ten illusions.
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

bool Shown(forms::Page* p, const char* control) { return p->Find(control).Visible(); }

QImage PictureOf(forms::Page* p) { return p->ImageNamed("Image1").Picture().toImage(); }

}  // namespace

class IllusionsTest : public QObject {
  Q_OBJECT
 private slots:
  void indexOpensEachIllusionAsking() {
    Harness h;
    for (int k = 0; k < 10; ++k) {
      h.GoTo("Form4");
      h.Click("image", k);
      QCOMPARE(h.PageName(), QStringLiteral("Form%1").arg(5 + k));
      QVERIFY(!Shown(h.Page(), "Label2"));
      QVERIFY(Shown(h.Page(), "Label1"));
      if (k == 0 || k == 3) QVERIFY(!Shown(h.Page(), "Image2"));
      h.Click("Index");
      QCOMPARE(h.PageName(), QStringLiteral("Form4"));
    }
    h.GoTo("Form4");
    QCOMPARE(h.Focus(), &h.Page()->Find("image", 0).Widget());
    h.Key(Qt::Key_Return);
    QCOMPARE(h.PageName(), QStringLiteral("Form5"));
  }

  // The chapter is one chain from the introduction through the index's first illusion to the
  // last one, walked forward and back to the title page.
  void chapterRunsBothWays() {
    Harness h;
    h.GoTo("Form2");
    QVERIFY(!h.Page()->Picture().isNull());
    QCOMPARE(h.Focus(), &h.Page()->Find("Back").Widget());  // Label1 has tab 0 but no focus
    for (int k = 3; k <= 14; ++k) {
      if (k == 5)
        h.Click("image", 0);
      else
        h.Click("Next");
      QCOMPARE(h.PageName(), QStringLiteral("Form%1").arg(k));
    }
    QVERIFY_THROWS_EXCEPTION(forms::Failure, h.Page()->Find("Next"));
    for (int k = 13; k >= 2; --k) {
      h.Click("Back");
      QCOMPARE(h.PageName(), QStringLiteral("Form%1").arg(k));
    }
    h.Click("Back");
    QCOMPARE(h.PageName(), QStringLiteral("Form16"));
  }

  void explainRevealsOnceAndForgetsOnLeaving() {
    Harness h;
    for (const char* page : {"Form5", "Form8"}) {
      h.GoTo(page);
      h.Click("Explain");
      h.Click("Explain");
      QVERIFY(Shown(h.Page(), "Label2") && Shown(h.Page(), "Image2"));
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
      // Explained first, then the next step: the explanation stays.
      h.Click("Explain");
      h.Click("NextStep");
      QCOMPARE(PictureOf(h.Page()), second);
      QVERIFY(Shown(h.Page(), "Label2"));
    }
  }

  // An instruction that sends the pupil to a button below (下方的) names it as its caption reads,
  // in corner brackets before 按鈕, and that button is on the page.
  void instructionsNameButtonsAsTheyRead() {
    Harness h;
    const QRegularExpression named(QStringLiteral("下方的「([^」]+)」按鈕"));
    int buttons = 0;
    for (int k = 5; k <= 14; ++k) {
      h.GoTo(QStringLiteral("Form%1").arg(k));
      QStringList captions;
      for (forms::Control* c : h.Page()->Controls())
        if (auto* b = dynamic_cast<forms::Button*>(c); b && b->isVisible()) captions << b->text();
      const QString instruction = h.Page()->LabelNamed("Label1").Caption();
      for (const auto& m : named.globalMatch(instruction)) {
        QVERIFY2(captions.contains(m.captured(1)),
                 qPrintable(h.PageName() + " names 「" + m.captured(1) + "」, its buttons read " +
                            captions.join(' ')));
        ++buttons;
      }
    }
    QCOMPARE(buttons, 4);  // on Form10, Form11, Form12 and Form14
  }

  void animationStartsItsProgramAtEveryPress() {
    Harness h(QStringLiteral("課程 folder"));
    h.ReplaceAnimation();
    h.GoTo("Form12");
    QVERIFY(!h.Page()->ContainerNamed("OLE1").isEnabled());
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
  }
};

LUMORA_TEST_MAIN(IllusionsTest)
#include "test_illusions.moc"
