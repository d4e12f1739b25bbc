// What every desktop (X11, Wayland, Windows) answers alike: the window is the page's size, a
// handler may take its time, programs are processes, and the end of the course is the end of
// the process.
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <cstdio>
#include <cstdlib>

#include "forms/platform/platform.h"

namespace forms {

bool WindowIsScreen() { return false; }
bool ScreenFullScreen() { return false; }
void SetScreenFullScreen(bool) {}
void FollowScreenFullScreen(QWidget&) {}
bool HandlersMayWait() { return true; }
// Desktop screen readers follow the focus into the new page.
void PageShown(QWidget&) {}

std::optional<QString> ProgramProblem(const QString& file) {
  const QFileInfo info(file);
  if (!info.exists()) return QStringLiteral("找不到程式檔案：%1").arg(file);
  if (!info.isFile()) return QStringLiteral("無法使用程式檔案（不是一般檔案）：%1").arg(file);
  if (!info.isExecutable()) return QStringLiteral("無法執行程式檔案（沒有執行權限）：%1").arg(file);
  return std::nullopt;
}

bool StartProgram(QWidget& from, const QString& file) {
  QProcess program;
  program.setProgram(file);
  program.setWorkingDirectory(QFileInfo(file).absolutePath());
  // On Wayland its window takes the focus only with a token asked for on this click; without
  // one it still starts, as it would anywhere else.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
  if (const auto token = RequestActivationToken(from, QFileInfo(file).baseName()))
    environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), *token);
  program.setProcessEnvironment(environment);
  qint64 id = 0;
  if (!program.startDetached(&id)) return false;
  // On Windows its window comes to the front only with the course's leave.
  AllowForeground(id);
  return true;
}

// A desktop starts the program's own file.
void LinkProgram(const QString&, std::function<void()>) {}

void ShowFailureReport(const QString& text, const QFont& font) {
  QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok);
  box.setFont(font);
  box.exec();
}

void EndCourse(int status) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

}  // namespace forms
