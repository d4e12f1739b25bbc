// X11's part of the platform requests: the window manager's title, frame and full screen, key
// repeats without releases, and places in the screen's own pixels.
#include <QGuiApplication>
#include <QScreen>

#include "forms/platform/platform.h"

#ifdef LUMORA_HAVE_XCB
#include <xcb/xcb.h>
#ifdef LUMORA_HAVE_XCB_XKB
// The C header names a field "explicit", a keyword in C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#endif

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#endif

namespace forms {

#ifdef LUMORA_HAVE_XCB
namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  free(reply);
  return atom;
}

xcb_connection_t* Connection(QWidget& window) {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !window.windowHandle() || QGuiApplication::platformName() != QLatin1String("xcb"))
    return nullptr;
  return x11->connection();
}

std::optional<QMargins> ReadFrameExtents(xcb_connection_t* c, xcb_window_t id, xcb_atom_t atom) {
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c, xcb_get_property(c, 0, id, atom, XCB_ATOM_CARDINAL, 0, 4), nullptr);
  std::optional<QMargins> margins;
  if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply));
    margins = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));  // left, right, top, bottom
  }
  free(reply);
  return margins;
}

// Whether a window manager runs that says it answers the request.
bool Supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t request) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, root, Atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 1024), nullptr);
  bool found = false;
  if (reply && reply->format == 32) {
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const int n = xcb_get_property_value_length(reply) / 4;
    found = std::find(atoms, atoms + n, request) != atoms + n;
  }
  free(reply);
  return found;
}

// The window a property of `on` names, or none.
xcb_window_t WindowIn(xcb_connection_t* c, xcb_window_t on, xcb_atom_t property) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, on, property, XCB_ATOM_WINDOW, 0, 1), nullptr);
  xcb_window_t window = XCB_WINDOW_NONE;
  if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
    window = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
  free(reply);
  return window;
}

// Whether a window manager that follows the desktop standard runs now: one that ended leaves
// its _NET_SUPPORTED behind, but its check window goes with it.
bool WindowManagerRuns(xcb_connection_t* c, xcb_window_t root) {
  const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
  const xcb_window_t wm = WindowIn(c, root, check);
  return wm != XCB_WINDOW_NONE && WindowIn(c, wm, check) == wm;
}

}  // namespace
#endif

void ClearWindowTitle([[maybe_unused]] QWidget& window) {
#ifdef LUMORA_HAVE_XCB
  xcb_connection_t* c = Connection(window);
  if (!c) return;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, utf8, 8, 0, nullptr);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, Atom(c, "_NET_WM_NAME"), utf8, 8, 0, nullptr);
  xcb_flush(c);
#endif
}

std::optional<QMargins> RequestFrameExtents([[maybe_unused]] QWidget& window) {
#ifdef LUMORA_HAVE_XCB
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
  window.winId();  // the native window, to ask about
  xcb_connection_t* c = Connection(window);
  if (!c) return std::nullopt;
  const auto id = static_cast<xcb_window_t>(window.winId());
  // A window manager that supports it sets _NET_FRAME_EXTENTS on the unmapped window when asked.
  xcb_client_message_event_t ask{};
  ask.response_type = XCB_CLIENT_MESSAGE;
  ask.format = 32;
  ask.window = id;
  ask.type = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  if (!Supported(c, root, ask.type)) return std::nullopt;
  xcb_send_event(c, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&ask));
  xcb_flush(c);
  for (int i = 0; i < 50; ++i) {
    if (auto margins = FrameExtents(window)) return margins;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
#endif
  return std::nullopt;
}

std::optional<QMargins> FrameExtents([[maybe_unused]] QWidget& window) {
#ifdef LUMORA_HAVE_XCB
  xcb_connection_t* c = Connection(window);
  if (!c) return std::nullopt;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const auto margins = ReadFrameExtents(c, id, Atom(c, "_NET_FRAME_EXTENTS"));
  if (!margins) return std::nullopt;
  // In the screen's pixels; the course measures in Qt's device-independent ones.
  const qreal ratio = window.devicePixelRatioF();
  return QMargins(qRound(margins->left() / ratio), qRound(margins->top() / ratio),
                  qRound(margins->right() / ratio), qRound(margins->bottom() / ratio));
#else
  return std::nullopt;
#endif
}

bool WindowSystemMakesFullScreen([[maybe_unused]] QWidget& window) {
#ifdef LUMORA_HAVE_XCB
  xcb_connection_t* c = Connection(window);
  if (!c) return true;  // Qt's offscreen platform, or a Wayland compositor, does it
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  return WindowManagerRuns(c, root) && Supported(c, root, Atom(c, "_NET_WM_STATE_FULLSCREEN"));
#else
  return true;
#endif
}

bool RepeatKeysWithoutReleases() {
#if defined(LUMORA_HAVE_XCB) && defined(LUMORA_HAVE_XCB_XKB)
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  xcb_connection_t* c = x11->connection();
  // Qt has set up XKB on its connection already; the flag holds for this client alone.
  constexpr uint32_t kFlag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
  xcb_xkb_per_client_flags_reply_t* reply = xcb_xkb_per_client_flags_reply(
      c, xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, kFlag, kFlag, 0, 0, 0), nullptr);
  const bool agreed = reply && (reply->value & kFlag);
  free(reply);
  return agreed;
#else
  return false;
#endif
}

QRect ScreenReaderRect(const QWidget& widget, const QRect& global) {
  const qreal ratio = widget.devicePixelRatioF();
  if (ratio == 1 || QGuiApplication::platformName() != QLatin1String("xcb")) return global;
  // Qt keeps each screen's top-left corner where the screen has it and scales from there.
  const QPoint origin = widget.screen() ? widget.screen()->geometry().topLeft() : QPoint();
  const auto native = [&](QPoint p) { return origin + (QPointF(p - origin) * ratio).toPoint(); };
  const QPoint topLeft = native(global.topLeft());
  const QPoint end = native(global.topLeft() + QPoint(global.width(), global.height()));
  return {topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y())};
}

}  // namespace forms
