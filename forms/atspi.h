// What the course mends in the platform's screen-reader bridge (AT-SPI, on Linux) where Qt 6.4
// falls short; elsewhere these do nothing.
#pragma once

namespace forms {

// - A screen reader started while the course is running finds it: the bridge is brought up when
//   the desktop says a screen reader is on, and the reader is told which window and control it
//   is on.
// - A change of name or description reaches the screen reader with the new text.
void MendScreenReaderBridge();

}  // namespace forms
