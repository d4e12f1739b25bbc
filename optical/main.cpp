#include <QApplication>

#include "optical/spiralwindow.h"
#include "optical/spoken.h"
#include "packaging/launch.h"

int main(int argc, char* argv[]) {
  // The program takes no arguments: hand Qt only the program name so that
  // nothing on the command line changes what it does.
  (void)argc;
  int qtArgc = 1;
  if (const auto status = launch::RequireDisplay(qtArgc, argv)) return *status;
  QApplication app(qtArgc, argv);
  // A part of the course: on Wayland its window names the course's desktop entry, whose icon
  // task bars and switchers show for it.
  QGuiApplication::setDesktopFileName(QStringLiteral(LUMORA_APP_ID));

  SpiralWindow window;
  DescribeForScreenReaders(window);
  window.show();
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    // A Wayland compositor ignores a request to activate a window it does not show yet, and
    // the token the course handed over is good for one request: ask once the first frame has
    // gone out (queued, so after the paint has been committed).
    QObject::connect(&window, &SpiralWindow::framePainted, &window, &QWidget::activateWindow,
                     Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
  } else {
    window.activateWindow();
  }
  return app.exec();
}
