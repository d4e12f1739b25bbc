// The course's own icon, the one the package installs, as the window icon of every program
// that links this file: the window system shows it in title bars, task bars and switchers.
// Registered to run as the application starts, so no program has to remember to set it.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>

namespace {

void SetWindowIcon() {
  // Only a GUI application has windows; a program run without one has nothing to mark.
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lumora.png")));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(SetWindowIcon)
