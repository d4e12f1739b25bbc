// The eye chapter: the lesson pages and the blind-spot test.
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

const QStringList kChapter = {"Form18", "Form19", "Form20", "Form21", "Form22"};

// What a page shows, to compare visits.
QStringList Snapshot(forms::Page* page) {
  QStringList s;
  for (forms::Control* c : page->Controls()) {
    const forms::TwipRect& r = c->Twips();
    QString row = QStringLiteral("%1 %2 %3 %4 %5 %6")
                      .arg(c->Name())
                      .arg(r.left)
                      .arg(r.top)
                      .arg(r.width)
                      .arg(r.height)
                      .arg(c->Visible());
    if (auto* l = dynamic_cast<forms::Label*>(c)) row += l->Caption();
    if (auto* i = dynamic_cast<forms::ImageBox*>(c))
      row += QString::number(i->Picture().cacheKey() != 0);
    s << row;
  }
  return s;
}

struct Sweep {
  qint64 ms;
  unsigned moves;
};

Sweep Run(Harness& h, const char* button, const char* marker) {
  forms::Control& m = h.Page()->Find(marker);
  const unsigned before = m.Moves();
  QElapsedTimer t;
  t.start();
  h.Click(button);
  return {t.elapsed(), m.Moves() - before};
}

// The pupil's pointer, through the window system, on the page's window.
struct Pointer {
  forms::Page& page;
  QWindow* Window() const { return page.window()->windowHandle(); }
  QPoint At(const char* control) const {
    QWidget& w = page.Find(control).Widget();
    return w.mapTo(page.window(), w.rect().center());
  }
  void Click(const char* control) const {
    QTest::mousePress(Window(), Qt::LeftButton, {}, At(control));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, At(control));
  }
  // Pressed on the control, released after the pointer has moved off it.
  void ClickAndMoveOn(const char* control) const {
    const QPoint away = At(control) - QPoint(200, 150);
    QTest::mousePress(Window(), Qt::LeftButton, {}, At(control));
    QTest::mouseMove(Window(), away);
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, away);
  }
};

}  // namespace

class EyeTest : public QObject {
  Q_OBJECT
 private slots:
  void chapterWalksForwardAndBackAsOnFirstVisit() {
    Harness h;
    h.GoTo("Form18");
    std::map<QString, QStringList> first;
    for (const QString& page : kChapter) {
      QCOMPARE(h.PageName(), page);
      first[page] = Snapshot(h.Page());
      if (page != "Form22") h.Click("Next");
    }
    QVERIFY(!h.Page()->Find("Back").Widget().isHidden());
    QVERIFY_THROWS_EXCEPTION(forms::Failure, h.Page()->Find("Next"));  // the chapter ends here
    QCOMPARE(h.Page()->DefaultButton(), nullptr);
    for (int i = kChapter.size() - 1; i > 0; --i) {
      QCOMPARE(Snapshot(h.Page()), first[kChapter[i]]);
      h.Click("Back");
    }
    QCOMPARE(Snapshot(h.Page()), first["Form18"]);
    h.Click("Back");  // the first page of the chapter goes back to the menu
    QCOMPARE(h.PageName(), QStringLiteral("Form17"));
  }

  void sweepsMoveOneUnitAtATime() {
    Harness h;
    h.GoTo("Form21");
    forms::Control& cross = h.Page()->Find("Image3");
    forms::Control& dot = h.Page()->Find("Image2");
    QCOMPARE(cross.Twips().left, 4455);
    QCOMPARE(dot.Twips().left, 5160);
    const forms::TwipRect crossBox = cross.Twips(), dotBox = dot.Twips();

    // Sample the cross while it moves (the sweep lets the event loop run between its steps): it
    // only ever goes right, from 360 on.
    std::vector<float> seen;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { seen.push_back(cross.Left()); });
    sampler.start(0);
    const Sweep left = Run(h, "Left", "Image3");
    QCOMPARE(left.moves, 4141u);
    QVERIFY(seen.size() > 100);
    QVERIFY(seen.front() < 460);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QCOMPARE(cross.Twips().left, 4462);  // 4500 units of 0.9915 twips
    QCOMPARE(cross.Twips().top, crossBox.top);
    QCOMPARE(cross.Twips().width, crossBox.width);
    QCOMPARE(cross.Twips().height, crossBox.height);
    QCOMPARE(dot.Twips(), dotBox);

    // Right after Left: the dot sweeps, the cross stays where it ended.
    sampler.stop();
    const Sweep right = Run(h, "Right", "Image2");
    QCOMPARE(right.moves, 3871u);
    QCOMPARE(dot.Twips().left, 5156);  // 5200 units
    QCOMPARE(dot.Twips().top, dotBox.top);
    QCOMPARE(cross.Twips().left, 4462);

    // Every click runs the whole sweep again from its start.
    seen.clear();
    sampler.start(0);
    QCOMPARE(Run(h, "Left", "Image3").moves, 4141u);
    sampler.stop();
    QVERIFY2(!seen.empty() && seen.front() < 460, qPrintable(QString::number(seen.front())));

    // A revisit puts both marks back.
    h.Click("Next");
    h.Click("Back");
    QCOMPARE(h.Page()->Find("Image3").Twips(), crossBox);
    QCOMPARE(h.Page()->Find("Image2").Twips(), dotBox);
  }

  // The sweep keeps its pace: a twentieth of the real pace still takes a twentieth of four
  // seconds at least (the real pace is measured by the benchmark).
  void sweepKeepsItsPace() {
    Harness h;
    h.SetTimeScale(0.05);
    h.GoTo("Form21");
    const Sweep left = Run(h, "Left", "Image3");
    QCOMPARE(left.moves, 4141u);
    QVERIFY2(left.ms >= 195, qPrintable(QString::number(left.ms)));
  }

  void inputDuringASweepWaitsForItsEnd() {
    Harness h;
    h.GoTo("Form21");
    forms::Page* page = h.Page();
    // A click on Back, then on Exit, made while the cross is moving.
    QTimer::singleShot(0, [&] {
      QTest::mouseClick(&page->Find("Back").Widget(), Qt::LeftButton);
      QTest::mouseClick(&page->Find("Exit").Widget(), Qt::LeftButton);
    });
    h.Click("Left");
    QCOMPARE(h.Page(), page);  // still here when the sweep ends
    QVERIFY(!h.Status());
    QCOMPARE(page->Find("Image3").Twips().left, 4462);
    QCoreApplication::processEvents();
    // Then in their order: Back leaves the page, and the Exit meant for it goes with it.
    QCOMPARE(h.PageName(), QStringLiteral("Form20"));
    QVERIFY(!h.Status());
  }

  void clickHeldDuringASweepIsDeliveredAsAClick() {
    Harness h;
    h.GoTo("Form21");
    const Pointer pointer{*h.Page()};
    QTimer::singleShot(0, [&] { pointer.ClickAndMoveOn("Next"); });
    h.Click("Left");
    QCOMPARE(h.PageName(), QStringLiteral("Form21"));
    QCoreApplication::processEvents();
    QCOMPARE(h.PageName(), QStringLiteral("Form22"));
  }

  // Held clicks on the sweep buttons run their sweeps, in order, before the click after them.
  void heldSweepsRunBeforeTheNextHeldClick() {
    Harness h;
    h.GoTo("Form21");
    const Pointer pointer{*h.Page()};
    QPointer<QWidget> cross = &h.Page()->Find("Image3").Widget();
    unsigned moves = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
      if (cross && h.PageName() == QStringLiteral("Form21"))
        moves = dynamic_cast<forms::Control&>(*cross).Moves();
    });
    sampler.start(0);
    QTimer::singleShot(0, [&] {
      pointer.Click("Left");
      pointer.Click("Left");
      pointer.ClickAndMoveOn("Next");
    });
    h.Click("Left");
    QCOMPARE(h.PageName(), QStringLiteral("Form21"));
    QCoreApplication::processEvents();
    QCOMPARE(h.PageName(), QStringLiteral("Form22"));
    QCOMPARE(moves, 3 * 4141u);
  }

  void closeDuringASweepEndsAfterIt() {
    Harness h;
    h.GoTo("Form21");
    forms::Page* page = h.Page();
    QTimer::singleShot(0, [&] { page->window()->close(); });
    h.Click("Right");
    QVERIFY(page->isVisible());
    QVERIFY(!h.Status());
    QCoreApplication::processEvents();
    QCOMPARE(h.Status(), std::optional<int>(0));
    QCOMPARE(h.VisiblePages(), 0);
  }
};

LUMORA_TEST_MAIN(EyeTest)
#include "test_eye.moc"
