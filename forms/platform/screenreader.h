// What the course asks of the platform's screen readers beyond Qt's accessibility: on Linux
// (AT-SPI) atspi/atspi.cpp, which mends where Qt 6.4's bridge falls short; in the browser
// wasm/reader.cpp; elsewhere screenreader_qt.cpp, which leaves it all to Qt.
#pragma once

#include <QString>

class QWidget;

namespace forms {

// - A screen reader started while the course is running finds it: the bridge is brought up when
//   the desktop says a screen reader is on, and the reader is told which window and control it
//   is on.
// - A change of name or description reaches the screen reader with the new text.
void MendScreenReaderBridge();

// Has the screen reader speak `news`, a sentence or two about the page the pupil is on (what
// appeared on it, a picture that took another's place, the sweep starting or ending), now, with
// the focus left on `focus`; and tells a reader that keeps a copy of the page to read it afresh.
// Every platform's own; where screen readers speak a change to the focused control's
// description, SpeakAsDescription (accessibility.h) does it.
void TellScreenReader(QWidget& focus, const QString& news);

}  // namespace forms
