#include "forms/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace forms {

QString InstallQtTranslation(const QString& folder) {
  const QString name = QStringLiteral("qtbase_zh_TW.qm");
  for (const QString& in : {folder, QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
    if (in.isEmpty()) continue;
    const QString file = QDir(in).filePath(name);
    // Kept for the program's life; a file Qt cannot read is passed over like a missing one.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file) && QCoreApplication::installTranslator(translator)) return file;
    delete translator;
  }
  return {};
}

}  // namespace forms
