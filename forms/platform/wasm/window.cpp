// The browser: the course's window is the whole page (Qt's screen is the page's screen element),
// full screen is the browser's, and none of a desktop window manager's requests mean anything.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <QCoreApplication>
#include <QPointer>
#include <QResizeEvent>

#include "forms/platform/platform.h"

namespace forms {

namespace {

// The page's side of the course (packaging/web/loader.js).
emscripten::val Site() { return emscripten::val::global("lumora"); }

QPointer<QWidget>& Following() {
  static QPointer<QWidget> window;
  return window;
}

// The page's fullscreenchange.
void ScreenFullScreenChanged() {
  if (QWidget* window = Following())
    QCoreApplication::postEvent(window, new QResizeEvent(window->size(), window->size()));
}

}  // namespace

void ClearWindowTitle(QWidget&) {}
std::optional<QMargins> RequestFrameExtents(QWidget&) { return std::nullopt; }
std::optional<QMargins> FrameExtents(QWidget&) { return std::nullopt; }
std::optional<QString> RequestActivationToken(QWidget&, const QString&, std::chrono::milliseconds) {
  return std::nullopt;
}
bool RepeatKeysWithoutReleases() { return false; }
QRect ScreenReaderRect(const QWidget&, const QRect& global) { return global; }
void AllowForeground(qint64) {}

// The window is the screen already; the browser's own full screen is asked for separately.
bool WindowSystemMakesFullScreen(QWidget&) { return true; }

bool WindowIsScreen() { return true; }

bool ScreenFullScreen() {
  const emscripten::val site = Site();
  return !site.isUndefined() && site.call<bool>("fullScreen");
}

void SetScreenFullScreen(bool on) {
  const emscripten::val site = Site();
  if (!site.isUndefined()) site.call<void>("setFullScreen", on);
}

void FollowScreenFullScreen(QWidget& window) { Following() = &window; }

bool HandlersMayWait() { return false; }

}  // namespace forms

EMSCRIPTEN_BINDINGS(lumora_window) {
  emscripten::function("lumoraFullScreenChanged", &forms::ScreenFullScreenChanged);
}
