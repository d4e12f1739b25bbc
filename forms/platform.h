// What the course asks of the window system that Qt does not give it. Each platform answers in
// a file of its own (x11.cpp, wayland.cpp, windows.cpp, chosen by the build); where a platform
// has nothing to do for a request, the answer is nothing.
#pragma once

#include <QMargins>
#include <QRect>
#include <QString>
#include <QWidget>
#include <chrono>
#include <optional>

namespace forms {

// Leaves the window's title bar empty. Qt fills an empty title with the program's name; the
// course's window shows no text at all.
void ClearWindowTitle(QWidget& window);

// The frame the window system will put around the window, asked for before the window is
// shown; nothing when it cannot say in time.
std::optional<QMargins> RequestFrameExtents(QWidget& window);
// The frame as far as the window system has said, without waiting: a window manager that was
// busy (or still starting) when asked answers later.
std::optional<QMargins> FrameExtents(QWidget& window);

// Whether the window system makes a window full screen itself when asked (Qt's full-screen
// state). On X11 that is the window manager's work; with none running, or one that does not do
// full screen, the window must take the screen's geometry itself.
bool WindowSystemMakesFullScreen(QWidget& window);

// Wayland: a compositor only lets a new window take the keyboard focus with a token that the
// window the pupil clicked asked for. A one-use token for the program whose window will have the
// id `appId`, asked for on behalf of `window` and the pupil's latest click or key press. Nothing
// outside the wayland platform, when the compositor offers no activation, or when it does not
// answer within `timeout`; the program is then started all the same.
std::optional<QString> RequestActivationToken(
    QWidget& window, const QString& appId,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(200));

// X11: asks the server to send a held key's repeats as presses alone, without the release it
// otherwise sends before each (XKB's detectable auto-repeat): then a key reads as held down from
// its press to its one release. Qt tells a repeat by looking for the press that follows a
// release, and under load that press may not have arrived yet. Whether the server agreed;
// elsewhere a held key already comes as presses alone, or Qt marks its repeats itself.
bool RepeatKeysWithoutReleases();

// A widget's place on the screen (in Qt's device-independent pixels) in the pixels a screen
// reader measures the screen in: on X11 the screen's own, whatever the scale factor; elsewhere
// Qt's bridge converts them itself.
QRect ScreenReaderRect(const QWidget& widget, const QRect& global);

// Windows: only a program the foreground process allows may bring its window to the front. Lets
// the program just started with this process id do so.
void AllowForeground(qint64 processId);

}  // namespace forms
