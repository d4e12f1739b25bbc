#include <QApplication>

#include "app/coursemap.h"
#include "forms/fonts.h"
#include "forms/translation.h"
#include "packaging/launch.h"
#include "shell/course.h"
#include "shell/prepare.h"

int main(int argc, char* argv[]) {
  const launch::CommandLine line = launch::ReadCommandLine(argc, argv);
  if (line.status) return *line.status;
  if (const auto status = launch::RequireDisplay(argc, argv)) return *status;
  QApplication app(argc, argv);
  // The desktop entry's name: docks and task bars show the course under its launcher's icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(LUMORA_APP_ID));
  const QString folder = QCoreApplication::applicationDirPath();
  forms::RegisterShippedFonts(folder);
  // The failure report's buttons in the pupils' language: the Windows folder brings Qt's
  // translation along, Linux has it where Qt keeps its own.
  forms::InstallQtTranslation(folder + QStringLiteral("/translations"));
  // The title page first; the fonts are warmed while it waits for the pupil's press.
  shell::PrepareApplication(app::Course(), shell::FontWarming::kAfterFirstPaint);
  shell::Course course(shell::Environment::Real(), app::Course());
  if (line.fullScreen) course.Window().OpenFullScreen();
  course.Start();
  return QApplication::exec();
}
