#include <QApplication>

#include "accessibility.h"
#include "course.h"
#include "fonts.h"
#include "pages.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Between unloading one page and showing the next no window is open; that is not the end.
  QApplication::setQuitOnLastWindowClosed(false);
  forms::InstallFontSubstitutions();
  forms::InstallAccessibility();

  shell::Course course(shell::Environment::Real());
  pages::RegisterAll(course);
  course.Start();
  return QApplication::exec();
}
