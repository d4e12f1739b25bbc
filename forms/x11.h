// What the course asks of an X11 window manager and server that Qt does not: an empty title bar,
// the frame's size before the window is first shown, and key repeats without releases.
// Elsewhere these do nothing.
#pragma once

#include <QMargins>
#include <QWidget>
#include <optional>

namespace forms {

// Leaves the window's title bar empty. Qt fills an empty title with the program's name; the
// course's window shows no text at all.
void ClearWindowTitle(QWidget& window);

// The frame the window manager will put around the window, asked for before the window is
// mapped (its native window is made for that), in device-independent pixels; nothing when there
// is no window manager or it does not answer in time.
std::optional<QMargins> RequestFrameExtents(QWidget& window);

// Asks the X server to send a held key's repeats as presses alone, without the release it
// otherwise sends before each (XKB's detectable auto-repeat): then a key reads as held down
// from its press to its one release. Qt tells a repeat by looking for the press that follows a
// release, and under load that press may not have arrived yet. Whether the server agreed.
bool RepeatKeysWithoutReleases();

// A widget's place on the screen (in Qt's device-independent pixels) in the pixels a screen
// reader measures the screen in: on X11 the screen's own, whatever the scale factor.
QRect ScreenReaderRect(const QWidget& widget, const QRect& global);

}  // namespace forms
