// Qt's own texts, those the course does not write (the buttons of the failure report's message
// box, above all), in the pupils' language whatever the system's.
#pragma once

#include <QString>

namespace forms {

// Installs Qt's Traditional Chinese translation (qtbase_zh_TW.qm) from `folder`, or, where that
// lacks it, from Qt's own translations folder (on Debian, qt6-translations-l10n's). Where
// neither holds it, Qt's texts stay in English, as Qt writes them. Returns the file installed,
// or an empty string. Called once, after the application object is made, before any window.
QString InstallQtTranslation(const QString& folder);

}  // namespace forms
