#include <QApplication>

#include "app/coursemap.h"
#include "shell/course.h"
#include "shell/prepare.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  shell::PrepareApplication(app::Course());
  shell::Course course(shell::Environment::Real(), app::Course());
  course.Start();
  return QApplication::exec();
}
