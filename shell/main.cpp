#include <QApplication>

#include "shell/course.h"
#include "pages/pages.h"
#include "shell/prepare.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  shell::PrepareApplication();
  shell::Course course(shell::Environment::Real());
  pages::RegisterAll(course);
  course.Start();
  return QApplication::exec();
}
