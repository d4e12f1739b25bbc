#include <QApplication>

#include "optical/spiralwindow.h"

int main(int argc, char* argv[]) {
  // The program takes no arguments: hand Qt only the program name so that
  // nothing on the command line changes what it does.
  (void)argc;
  int qtArgc = 1;
  QApplication app(qtArgc, argv);

  SpiralWindow window;
  window.show();
  window.activateWindow();
  return app.exec();
}
