// Platforms without AT-SPI: Qt's own accessibility bridge is all there is, and it carries a change
// of the focused control's description, which screen readers speak.
#include "forms/accessibility.h"
#include "forms/platform/screenreader.h"

namespace forms {

void MendScreenReaderBridge() {}

void TellScreenReader(QWidget& focus, const QString& news) { SpeakAsDescription(focus, news); }

}  // namespace forms
