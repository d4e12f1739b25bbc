#include "tests/support/harness.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <stdexcept>

#include "app/coursemap.h"

namespace testing {

QString BuiltCourseFolder() {
  const QByteArray bin = qgetenv("LUMORA_BIN");
  if (bin.isEmpty()) throw std::runtime_error("LUMORA_BIN is not set");
  return QString::fromLocal8Bit(bin);
}

Harness::Harness(const QString& subfolder) {
  folder_ = QDir::toNativeSeparators(dir_.path() + QLatin1Char('/') + subfolder);
  QDir().mkpath(folder_);
  const QDir built(BuiltCourseFolder());
  for (const QString& name : built.entryList(QDir::Files)) {
    // The course's files, not the course itself nor the libraries beside it on Windows.
    if (name == QLatin1String("lumora") || name == QLatin1String("lumora.exe") ||
        name.endsWith(QLatin1String(".dll")))
      continue;
    QFile::copy(built.filePath(name), File(name));
    QFile::setPermissions(File(name), QFile::permissions(built.filePath(name)));
  }
  env_.folder = folder_;
  env_.report = [this](const QString& message) { reports_ << message; };
  env_.end = [this](int status) { status_ = status; };
  env_.timeScale = 0;
  course_ = std::make_unique<shell::Course>(env_, app::Course());
}

Harness::~Harness() {
  course_.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Harness::SetTimeScale(double scale) {
  if (Page()) throw std::runtime_error("set the time scale before the course starts");
  env_.timeScale = scale;
  course_ = std::make_unique<shell::Course>(env_, app::Course());
}

void Harness::Remove(const QString& name) const { QFile::remove(File(name)); }

void Harness::ReplaceAnimation() const {
  const QString program = File(QStringLiteral("7optical.exe"));
  QFile::remove(program);
  if (!QFile::copy(QStringLiteral(LUMORA_STARTER), program))
    throw std::runtime_error("cannot copy " LUMORA_STARTER);
}

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
  if (!Page()) Start();
  const auto route = coursemap::Route(PageName(), page, [](const QString&) { return true; });
  if (!route) throw std::runtime_error(("no way to " + page).toStdString());
  for (const coursemap::Step& step : *route) Take(step);
  if (PageName() != page) throw std::runtime_error(("could not reach " + page).toStdString());
}

void Harness::Take(const coursemap::Step& step) {
  if (step.control.isEmpty())
    PressPage(QPoint(600, 480));
  else if (dynamic_cast<forms::Label*>(&Page()->Find(step.control, step.index)))
    Press(step.control);
  else
    Click(step.control, step.index);
}

int Harness::VisiblePages() const {
  int n = 0;
  for (QWidget* w : QApplication::allWidgets())
    if (qobject_cast<forms::Page*>(w) && w->isVisible()) ++n;
  return n;
}

}  // namespace testing
