// What the course asks of the window system that Qt does not give it. Each platform answers in
// a folder of its own here (x11/, wayland/, windows/, wasm/, chosen by the build); where a
// platform has nothing to do for a request, the answer is nothing. What every desktop answers
// alike is in desktop.cpp; the browser answers all of it in wasm/.
#pragma once

#include <QFont>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QWidget>
#include <chrono>
#include <functional>
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

// --- What differs between a desktop and the browser ---

// Whether the course's window is the whole screen it is shown on, placed and sized by the
// window system (the browser, where the screen is the page): the page is then shown in its
// middle, at its designed size where there is room. Elsewhere the window is the page's size.
bool WindowIsScreen();
// Where the window is the screen: whether the screen fills the display (the browser's own full
// screen, asked for by the course or by the pupil), and asking for it or back.
bool ScreenFullScreen();
void SetScreenFullScreen(bool on);
// The window is told (by a resize event, its size the same or not) when the screen goes to or
// from full screen, which may leave the screen its size.
void FollowScreenFullScreen(QWidget& window);

// Told each time a page has been shown in the window: in the browser, its screen readers hear of
// the new page at once, rather than at their next look.
void PageShown(QWidget& window);

// Whether a handler may take a while inside itself, the window painting meanwhile: on a desktop
// it may; in the browser nothing is painted and no input arrives until the handler returns.
bool HandlersMayWait();

// Why the program file cannot be started, or nothing when it can. `file` is its full path.
std::optional<QString> ProgramProblem(const QString& file);
// Starts the program file, without a shell, arguments or a search of PATH, in the folder it lies
// in, and goes on at once: it runs beside the course. Asked for on behalf of the window the
// pupil pressed in; false when it could not be started.
bool StartProgram(QWidget& from, const QString& file);
// Where there are no processes (the browser), a program's window linked into the course: opened
// by StartProgram for a file of this name (the part after the last separator).
void LinkProgram(const QString& fileName, std::function<void()> open);

// Shows the pupil the report of a failure that ends the course. On a desktop it returns once the
// pupil has closed it; in the browser at once, the report staying in the page.
void ShowFailureReport(const QString& text, const QFont& font);
// Ends the course with this status: on a desktop the process ends here. In the browser, once a
// report is closed, the page says that the course has ended and offers to start it again; the
// call returns, and nothing of the course answers any more.
void EndCourse(int status);

}  // namespace forms
