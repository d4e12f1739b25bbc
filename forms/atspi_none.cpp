// Platforms without AT-SPI: Qt's own accessibility bridge is all there is.
#include "forms/atspi.h"

namespace forms {

void MendScreenReaderBridge() {}

}  // namespace forms
