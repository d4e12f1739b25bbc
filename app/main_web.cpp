// The course in the browser. The page (packaging/web/loader.js) has put the site's pictures,
// fonts and Qt's translation at the root of the program's files, which is the course folder
// here, before this runs. There is no command line and no display to find; the animation is a
// window of the course's own.
#include <QApplication>

#include "app/coursemap.h"
#include "forms/fonts.h"
#include "forms/platform/platform.h"
#include "forms/translation.h"
#include "optical/spiralwindow.h"
#include "optical/spoken.h"
#include "shell/course.h"
#include "shell/prepare.h"

namespace {

// Opens over the page, in front, at the size and speed it has as a program of its own; Esc or
// its close button ends it, and a second press opens it again.
void OpenAnimation() {
  auto* window = new SpiralWindow;
  window->setAttribute(Qt::WA_DeleteOnClose);
  DescribeForScreenReaders(*window);
  window->showNormal();
  window->raise();
  window->activateWindow();
  window->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  forms::RegisterShippedFonts(QString());
  forms::InstallQtTranslation(QStringLiteral("/translations"));
  forms::LinkProgram(QStringLiteral("7optical.exe"), OpenAnimation);
  shell::PrepareApplication(app::Course(), shell::FontWarming::kAfterFirstPaint);
  shell::Course course(shell::Environment::Real(), app::Course());
  course.Start();
  return QApplication::exec();
}
