// The browser starts no processes: a program the course would start is a window linked into it,
// known by its file's name, and opened over the page.
#include <QFileInfo>
#include <map>

#include "forms/platform/platform.h"

namespace forms {

namespace {

std::map<QString, std::function<void()>>& Linked() {
  static std::map<QString, std::function<void()>> programs;
  return programs;
}

const std::function<void()>* Find(const QString& file) {
  const auto it = Linked().find(QFileInfo(file).fileName());
  return it == Linked().end() ? nullptr : &it->second;
}

}  // namespace

void LinkProgram(const QString& fileName, std::function<void()> open) {
  Linked()[fileName] = std::move(open);
}

std::optional<QString> ProgramProblem(const QString& file) {
  if (!Find(file)) return QStringLiteral("找不到程式檔案：%1").arg(file);
  return std::nullopt;
}

bool StartProgram(QWidget&, const QString& file) {
  const std::function<void()>* open = Find(file);
  if (!open) return false;
  (*open)();
  return true;
}

}  // namespace forms
