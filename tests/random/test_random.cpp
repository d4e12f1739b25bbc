// A restless pupil: thousands of random clicks, double clicks, keys and close requests on the
// real course, each delivered through the page's window as the window system would. After every
// action exactly one page is loaded and shown, and it may follow the page before it; a run that
// ends (Exit, or the window closed) starts again from start-up.
//
// The seed is fixed, so every run of the test does the same. A failure prints the seed of the
// failing run and its actions; LUMORA_RANDOM_REPLAY=<run seed>:<sweeps> replays that run alone.
// LUMORA_RANDOM_SEED and LUMORA_RANDOM_ACTIONS change the seed and the number of actions.
//
// The blind-spot sweeps take four seconds each, so only kSweeps of them are let through; other
// clicks, double clicks or keys that would start one are drawn again.
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QWindow>
#include <memory>

#include "pages/pages.h"
#include "shell/course.h"
#include "tests/support/coursemap.h"
#include "tests/support/harness.h"
#include "tests/support/main.h"

namespace {

constexpr quint64 kSeed = 20260513;
constexpr int kActions = 20000;
constexpr int kSweeps = 2;

quint64 EnvNumber(const char* name, quint64 fallback) {
  bool ok = false;
  const quint64 v = qEnvironmentVariable(name).toULongLong(&ok);
  return ok ? v : fallback;
}

// One run of the course, from start-up to its end.
struct Run {
  explicit Run(const QString& folder) {
    shell::Environment env;
    env.folder = folder;
    env.report = [this](const QString& message) { reports << message; };
    env.end = [this](int s) { status = s; };
    course = std::make_unique<shell::Course>(std::move(env), app::Course());
  }
  ~Run() {
    course.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  std::unique_ptr<shell::Course> course;
  QStringList reports;
  std::optional<int> status;
};

// The pages still loaded, and how many pages are on screen.
std::pair<QList<forms::Page*>, int> Pages() {
  std::pair<QList<forms::Page*>, int> pages;
  for (QWidget* w : QApplication::allWidgets())
    if (auto* p = qobject_cast<forms::Page*>(w)) {
      if (!p->Unloaded()) pages.first << p;
      pages.second += p->isVisible();
    }
  return pages;
}

bool IsSweepButton(const QWidget* w) {
  const auto* b = qobject_cast<const forms::Button*>(w);
  if (!b || !b->isVisible() || !b->isEnabled()) return false;
  const auto* page = qobject_cast<const forms::Page*>(b->parentWidget());
  return page && page->Name() == QLatin1String("Form21") &&
         (b->Name() == QLatin1String("Left") || b->Name() == QLatin1String("Right"));
}

QString ControlName(const forms::Control& c) {
  return c.Index() ? QStringLiteral("%1(%2)").arg(c.Name()).arg(*c.Index()) : c.Name();
}

class Pupil {
 public:
  Pupil(const QString& folder, quint64 seed, int sweeps)
      : folder_(folder), random_(seed), sweeps_(sweeps) {}

  // Performs one action on the current page.
  void Act() {
    forms::Page* page = run_->course->Current();
    const QString name = page->Name();  // the action may unload the page
    for (;;) {
      const QString done = TryOne(*page);
      if (!done.isEmpty()) {
        log_ << QStringLiteral("%1 on %2: %3").arg(log_.size()).arg(name, done);
        return;
      }
    }
  }

  void Start() {
    run_ = std::make_unique<Run>(folder_);
    windowId_ = 0;
    log_ = {QStringLiteral("start")};
    run_->course->Start();
  }

  // A double click whose first click changed the page lands its second on the next page, in the
  // same place of the same window, as it would on the screen.
  bool TwoClicks() const { return log_.last().contains(QLatin1String("double click")); }
  static bool Between(const QString& from, const QString& to) {
    const QStringList pages = coursemap::Pages();
    return std::any_of(pages.begin(), pages.end(), [&](const QString& via) {
      return coursemap::Allowed(from, via) && coursemap::Allowed(via, to);
    });
  }

  // What is wrong after the last action, if anything; previous is the page before it.
  QString Check(const QString& previous, const forms::Page* before) const {
    if (!run_->reports.isEmpty()) return "a failure was reported: " + run_->reports.join(" | ");
    const auto [loaded, shown] = Pages();
    if (run_->status) {
      if (*run_->status != 0) return QStringLiteral("ended with status %1").arg(*run_->status);
      if (!loaded.isEmpty() || shown != 0) return "pages are left after the end";
      return {};
    }
    if (loaded.size() != 1) return QStringLiteral("%1 pages are loaded").arg(loaded.size());
    forms::Page* page = run_->course->Current();
    if (page != loaded[0]) return "the loaded page is not the course's current page";
    if (!page->isVisible() || shown != 1) return "the loaded page is not the one shown";
    if (page->window() != &run_->course->Window() ||
        (windowId_ && run_->course->Window().winId() != windowId_))
      return "the page is not in the course's one window";
    windowId_ = run_->course->Window().winId();
    if (previous.isEmpty()) {
      if (page->Name() != QLatin1String("Form16")) return "start-up shows " + page->Name();
    } else if (page != before && !coursemap::Allowed(previous, page->Name()) &&
               !(TwoClicks() && Between(previous, page->Name()))) {
      return QStringLiteral("%1 does not lead to %2").arg(previous, page->Name());
    }
    return {};
  }

  bool Ended() const { return run_->status.has_value(); }
  forms::Page* Page() const { return run_ ? run_->course->Current() : nullptr; }
  const QStringList& Log() const { return log_; }
  int SweepsLeft() const { return sweeps_; }
  int SweepsDone() const { return sweepsDone_; }
  void Reseed(quint64 seed) { random_.seed(seed); }
  void EndRun() { run_.reset(); }

 private:
  int Pick(int n) { return int(random_.bounded(n)); }

  // Whether an action on this widget may go ahead; a sweep uses up one of the few allowed.
  bool Allow(const QWidget* target) {
    if (!IsSweepButton(target)) return true;
    if (sweeps_ == 0) return false;
    --sweeps_;
    ++sweepsDone_;
    return true;
  }

  // Draws an action and performs it; returns its description, or nothing if it was refused.
  QString TryOne(forms::Page& page) {
    QWindow* window = page.window()->windowHandle();
    const std::vector<forms::Control*>& controls = page.Controls();
    const int kind = Pick(100);
    if (kind < 55) {
      // A click or a double click, on a random point or in the middle of a random control.
      QPoint at(Pick(page.width()), Pick(page.height()));
      QString where = QStringLiteral("(%1,%2)").arg(at.x()).arg(at.y());
      if (kind >= 20) {
        forms::Control& c = *controls[std::size_t(Pick(int(controls.size())))];
        at = c.Widget().mapTo(&page, c.Widget().rect().center());
        where = QStringLiteral("%1 at (%2,%3)").arg(ControlName(c)).arg(at.x()).arg(at.y());
      }
      static const std::pair<Qt::MouseButton, const char*> kButtons[] = {
          {Qt::LeftButton, "left"}, {Qt::RightButton, "right"}, {Qt::MiddleButton, "middle"}};
      const int b = Pick(10);  // mostly the left button
      const auto [button, buttonName] = kButtons[b < 8 ? 0 : b - 7];
      const bool twice = kind >= 47;
      QWidget* target = page.childAt(at);
      if (!Allow(target ? target : &page)) return {};
      if (twice)
        QTest::mouseDClick(window, button, Qt::NoModifier, at);
      else
        QTest::mouseClick(window, button, Qt::NoModifier, at);
      return QStringLiteral("%1 %2 %3").arg(twice ? "double click" : "click", buttonName, where);
    }
    if (kind < 99) {
      static const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> kKeys[] = {
          {Qt::Key_Tab, Qt::NoModifier, "Tab"},
          {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
          {Qt::Key_Return, Qt::NoModifier, "Enter"},
          {Qt::Key_Enter, Qt::KeypadModifier, "keypad Enter"},
          {Qt::Key_Space, Qt::NoModifier, "Space"},
          {Qt::Key_Escape, Qt::NoModifier, "Esc"},
          {Qt::Key_A, Qt::NoModifier, "letter"}};
      auto [key, modifiers, keyName] = kKeys[Pick(int(std::size(kKeys)))];
      QString name = QString::fromLatin1(keyName);
      if (key == Qt::Key_A) {
        key = Qt::Key(Qt::Key_A + Pick(26));
        name = QChar(char('a' + (key - Qt::Key_A)));
      }
      QWidget* focus = page.focusWidget();
      const bool clicks = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
      if (clicks && focus && !Allow(focus)) return {};
      if (focus) name += " on " + focus->objectName();  // before the key, which may unload it
      QTest::keyClick(window, key, modifiers);
      return name;
    }
    window->close();  // as the window's close button asks the window system
    return QStringLiteral("close request");
  }

  QString folder_;
  mutable WId windowId_ = 0;
  QRandomGenerator64 random_;
  int sweeps_;
  int sweepsDone_ = 0;
  std::unique_ptr<Run> run_;
  QStringList log_;
};

}  // namespace

class RandomTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    // The course folder, with a stand-in for the animation program that ends at once.
    course_.ReplaceAnimation();
  }

  void everyActionLeavesOnePageThatMayFollowTheLast() {
    const QString replay = qEnvironmentVariable("LUMORA_RANDOM_REPLAY");
    const quint64 seed = EnvNumber("LUMORA_RANDOM_SEED", kSeed);
    const int actions =
        int(EnvNumber("LUMORA_RANDOM_ACTIONS", replay.isEmpty() ? kActions : 100000));
    QRandomGenerator64 seeds(seed);
    Pupil pupil(course_.Folder(), 0, replay.isEmpty() ? kSweeps : replay.section(':', 1).toInt());
    QElapsedTimer timer;
    timer.start();
    int runs = 0, done = 0, switches = 0;
    while (done < actions) {
      const quint64 runSeed =
          replay.isEmpty() ? seeds.generate64() : replay.section(':', 0, 0).toULongLong();
      const int sweepsAtStart = pupil.SweepsLeft();
      pupil.Reseed(runSeed);
      pupil.Start();
      ++runs;
      const auto fail = [&](const QString& what) {
        return QStringLiteral("%1\nseed %2, run %3; replay it with LUMORA_RANDOM_REPLAY=%4:%5\n%6")
            .arg(what)
            .arg(seed)
            .arg(runs)
            .arg(runSeed)
            .arg(sweepsAtStart)
            .arg(pupil.Log().join('\n'));
      };
      QString previous;
      const forms::Page* before = nullptr;
      for (;;) {
        const QString error = pupil.Check(previous, before);
        QVERIFY2(error.isEmpty(), qPrintable(fail(error)));
        if (pupil.Ended() || done >= actions) break;
        previous = pupil.Page()->Name();
        before = pupil.Page();
        try {
          pupil.Act();
        } catch (const std::exception& e) {
          QFAIL(qPrintable(fail(QStringLiteral("exception: ") + e.what())));
        }
        ++done;
        // Back in the event loop: pages unloaded by the action are deleted there.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (pupil.Page() && pupil.Page() != before) ++switches;
      }
      pupil.EndRun();
      if (!replay.isEmpty()) break;
    }
    qInfo("%d actions in %d runs, %d page switches, %d sweeps, %lld ms", done, runs, switches,
          pupil.SweepsDone(), qint64(timer.elapsed()));
    if (replay.isEmpty()) {
      QCOMPARE(done, actions);
      QVERIFY(switches > actions / 10);  // the pupil got around
    }
  }

 private:
  testing::Harness course_;  // only its folder: every run starts a course of its own there
};

LUMORA_TEST_MAIN(RandomTest)
#include "test_random.moc"
