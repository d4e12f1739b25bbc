#include "tests/support/harness.h"

#include <qpa/qplatformnativeinterface.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QScreen>
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
  env_.report = [this](const QString& message) {
    reports_ << message;
    atReport_ = OnScreen();
  };
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

void Harness::FullScreen(bool on) {
  forms::Window& window = course_->Window();
  if (window.FullScreen() != on) Key(Qt::Key_F11);
  const auto settled = [&] {
    if (!Page()) return true;  // the course ended: a picture its new size needs is spoilt
    return on ? window.size() == window.screen()->geometry().size()
              : window.size() == Page()->size();
  };
  if (!QTest::qWaitFor(settled, 5000))
    throw std::runtime_error(on ? "the window did not fill the screen" : "no window again");
}

bool SetScreen(QSize size) {
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  using Get = QJsonObject (*)(QPlatformNativeInterface*);
  using Set = void (*)(const QJsonObject&, QPlatformNativeInterface*);
  const auto get = reinterpret_cast<Get>(native->nativeResourceForIntegration("configuration"));
  const auto set = reinterpret_cast<Set>(native->nativeResourceForIntegration("setConfiguration"));
  if (!get || !set) return false;
  QJsonObject config = get(native);
  QJsonArray screens = config["screens"].toArray();
  QJsonObject screen = screens[0].toObject();
  // The platform's screen is in the device's pixels.
  const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
  screen["width"] = qRound(size.width() * ratio);
  screen["height"] = qRound(size.height() * ratio);
  screens[0] = screen;
  config["screens"] = screens;
  set(config, native);
  return QTest::qWaitFor(
      [&] { return QGuiApplication::primaryScreen()->geometry().size() == size; }, 5000);
}

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

Harness::Screen Harness::OnScreen() const {
  Screen screen;
  for (QWidget* w : QApplication::allWidgets()) {
    auto* page = qobject_cast<forms::Page*>(w);
    if (!page || !page->isVisible()) continue;
    screen.page = page->Name();
    for (forms::Control* c : page->Controls())
      if (c->Widget().isVisible()) screen.controls << c->Name();
  }
  return screen;
}

}  // namespace testing
