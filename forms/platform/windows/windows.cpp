// Windows' part of the platform requests: the title bar, the frame, full screen, and the
// foreground.
#include <QtCore/qt_windows.h>  // windows.h as Qt includes it, without the min and max macros

#include <QGuiApplication>
#include <QWindow>

#include "forms/platform/platform.h"

namespace forms {

void ClearWindowTitle(QWidget& window) {
  // Only the windows platform's ids are window handles (not the offscreen platform's).
  if (QGuiApplication::platformName() != QLatin1String("windows")) return;
  // Qt puts the program's name in an empty title; the window's own text is emptied after it.
  SetWindowTextW(reinterpret_cast<HWND>(window.winId()), L"");
}

// Qt knows the frame of a window it has created from the window's styles, before it is shown.
std::optional<QMargins> RequestFrameExtents(QWidget& window) {
  if (!window.windowHandle()) return std::nullopt;
  return window.windowHandle()->frameMargins();
}

std::optional<QMargins> FrameExtents(QWidget& window) { return RequestFrameExtents(window); }

// Qt's windows platform covers the screen itself.
bool WindowSystemMakesFullScreen(QWidget&) { return true; }

// Tokens are Wayland's; on Windows the started program is allowed the foreground instead.
std::optional<QString> RequestActivationToken(QWidget&, const QString&, std::chrono::milliseconds) {
  return std::nullopt;
}

// Windows sends a held key's repeats as presses, which Qt marks as repeats.
bool RepeatKeysWithoutReleases() { return true; }

// Qt's UI Automation bridge turns device-independent pixels into the screen's itself.
QRect ScreenReaderRect(const QWidget&, const QRect& global) { return global; }

void AllowForeground(qint64 processId) {
  // Only the foreground process may grant this; if the course is not in front, the program
  // starts behind it, as Windows wants.
  AllowSetForegroundWindow(static_cast<DWORD>(processId));
}

}  // namespace forms
