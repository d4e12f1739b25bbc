#include "tests/support/harness.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <stdexcept>

#include "pages/pages.h"

namespace testing {

QString BuiltCourseFolder() {
  const QByteArray bin = qgetenv("LUMORA_BIN");
  if (bin.isEmpty()) throw std::runtime_error("LUMORA_BIN is not set");
  return QString::fromLocal8Bit(bin);
}

Harness::Harness(const QString& subfolder) {
  folder_ = dir_.path() + QLatin1Char('/') + subfolder;
  QDir().mkpath(folder_);
  const QDir built(BuiltCourseFolder());
  for (const QString& name : built.entryList(QDir::Files)) {
    if (name == QLatin1String("lumora")) continue;
    QFile::copy(built.filePath(name), File(name));
    QFile::setPermissions(File(name), QFile::permissions(built.filePath(name)));
  }
  shell::Environment env;
  env.folder = folder_;
  env.report = [this](const QString& message) { reports_ << message; };
  env.end = [this](int status) { status_ = status; };
  course_ = std::make_unique<shell::Course>(std::move(env));
  pages::RegisterAll(*course_);
}

Harness::~Harness() {
  course_.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Harness::Remove(const QString& name) const { QFile::remove(File(name)); }

void Harness::Start() { course_->Start(); }

QString Harness::PageName() const { return Page() ? Page()->Name() : QString(); }

void Harness::Click(const QString& control, std::optional<int> index) {
  if (!Page()) throw std::runtime_error("no page is loaded");
  forms::Button& b = Page()->ButtonNamed(control, index);
  QTest::mouseClick(&b, Qt::LeftButton);
}

void Harness::Press(const QString& control, Qt::MouseButton button,
                    Qt::KeyboardModifiers modifiers) {
  if (!Page()) throw std::runtime_error("no page is loaded");
  QTest::mousePress(&Page()->Find(control).Widget(), button, modifiers);
}

void Harness::PressPage(QPoint at, Qt::MouseButton button) {
  if (!Page()) throw std::runtime_error("no page is loaded");
  QWidget* target = Page()->childAt(at);
  if (!target) target = Page();
  QTest::mousePress(target, button, Qt::NoModifier, target->mapFrom(Page(), at));
}

QWidget* Harness::Focus() const { return Page() ? Page()->focusWidget() : nullptr; }

void Harness::Key(int key, Qt::KeyboardModifiers modifiers) {
  if (!Page()) throw std::runtime_error("no page is loaded");
  QWidget* target = Focus() ? Focus() : Page();
  QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

void Harness::GoTo(const QString& page) {
  // The shortest button path from the start page to each page.
  static const std::map<QString, QStringList> kPaths = {
      {"Form16", {"*", "Command3", "Back"}},
      {"Form17", {"*"}},
      {"Form18", {"*", "Command1"}},
      {"Form19", {"*", "Command1", "Next"}},
      {"Form20", {"*", "Command1", "Next", "Next"}},
      {"Form21", {"*", "Command1", "Next", "Next", "Next"}},
      {"Form22", {"*", "Command1", "Next", "Next", "Next", "Next"}},
      {"Form2", {"*", "Command3"}},
      {"Form3", {"*", "Command3", "Next"}},
      {"Form4", {"*", "Command3", "Next", "Next"}},
  };
  if (!Page()) Start();
  if (page == QLatin1String("Form16") && PageName() == page) return;
  // Every page but the title has a way to the menu; the paths start there.
  if (PageName() == QLatin1String("Form16")) PressPage(QPoint(600, 480));
  if (PageName() != QLatin1String("Form17")) Click("Menu");
  QStringList path;
  if (const auto it = kPaths.find(page); it != kPaths.end()) {
    path = it->second;
  } else {
    const int k = page.mid(4).toInt() - 5;  // Form5..Form14 through the index
    path = kPaths.at("Form4");
    path << QStringLiteral("image(%1)").arg(k);
  }
  for (const QString& step : path) {
    if (step == QLatin1String("*")) {
      if (PageName() == QLatin1String("Form16")) PressPage(QPoint(600, 480));
    } else if (step.startsWith(QLatin1String("image("))) {
      Click(QStringLiteral("image"), step.mid(6, step.size() - 7).toInt());
    } else {
      Click(step);
    }
  }
  if (PageName() != page) throw std::runtime_error(("could not reach " + page).toStdString());
}

int Harness::VisiblePages() const {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<forms::Page*>(w) && w->isVisible()) ++n;
  return n;
}

}  // namespace testing
