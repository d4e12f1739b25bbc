// The course's own icon, the one the package installs, as the window icon of every program
// that links this file: the window system shows it in title bars, task bars and switchers.
// Registered to run as the application starts, so no program has to remember to set it.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace {

// Title bars and task bars show the icon at 16 to 48 pixels. Given only the drawn 256, every
// window manager shrinks it its own way, and a window's icon property that opens with 256 x 256
// pixels is longer than tools such as xprop read by default: the small sizes come first.
QIcon CourseIcon() {
  const QImage drawn(QStringLiteral(":/icons/lumora.png"));
  QIcon icon;
  for (const int side : {16, 24, 32, 48, 64, 128})
    icon.addPixmap(QPixmap::fromImage(
        drawn.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
  icon.addPixmap(QPixmap::fromImage(drawn));
  return icon;
}

void SetWindowIcon() {
  // Only a GUI application has windows; a program run without one has nothing to mark.
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  QGuiApplication::setWindowIcon(CourseIcon());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(SetWindowIcon)
