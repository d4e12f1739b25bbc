#include <QDir>
#include <QFontDatabase>

#include "forms/fonts.h"

namespace forms {

namespace {

// Every designed face, by any of its names; Windows in Traditional Chinese has them all.
bool DesignedFacesInstalled() {
  const QStringList installed = QFontDatabase::families();
  const auto any = [&](std::initializer_list<const char*> names) {
    for (const char* name : names)
      if (installed.contains(QString::fromUtf8(name), Qt::CaseInsensitive)) return true;
    return false;
  };
  return any({"新細明體", "PMingLiU"}) && any({"標楷體", "DFKai-SB"}) && any({"Times New Roman"});
}

}  // namespace

void RegisterShippedFonts(const QString& courseFolder) {
  // Looked for first: a course folder without fonts costs no look at the system's.
  const QDir fonts(courseFolder + QStringLiteral("/fonts"));
  const QStringList files =
      fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.ttc"), QStringLiteral("*.otf")},
                      QDir::Files, QDir::Name);
  if (files.isEmpty() || DesignedFacesInstalled()) return;
  // A file Qt cannot read adds nothing: the substitutions then go on to the system's faces.
  for (const QString& file : files) QFontDatabase::addApplicationFont(fonts.filePath(file));
}

}  // namespace forms
