// Windows' part of the platform requests: the title bar, the frame, and the foreground.
#include "forms/platform.h"

#include <QWindow>

// After Qt's headers, and without the min and max macros that would break them.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace forms {

void ClearWindowTitle(QWidget& window) {
  // Qt puts the program's name in an empty title; the window's own text is emptied after it.
  SetWindowTextW(reinterpret_cast<HWND>(window.winId()), L"");
}

// Qt knows the frame of a window it has created from the window's styles, before it is shown.
std::optional<QMargins> RequestFrameExtents(QWidget& window) {
  if (!window.windowHandle()) return std::nullopt;
  return window.windowHandle()->frameMargins();
}

// Tokens are Wayland's; on Windows the started program is allowed the foreground instead.
std::optional<QString> RequestActivationToken(QWidget&, const QString&,
                                              std::chrono::milliseconds) {
  return std::nullopt;
}

void AllowForeground(qint64 processId) {
  // Only the foreground process may grant this; if the course is not in front, the program
  // starts behind it, as Windows wants.
  AllowSetForegroundWindow(static_cast<DWORD>(processId));
}

}  // namespace forms
