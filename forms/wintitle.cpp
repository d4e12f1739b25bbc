#include "forms/wintitle.h"

#include <QGuiApplication>

#ifdef LUMORA_HAVE_XCB
#include <xcb/xcb.h>

#include <cstring>
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

}  // namespace
#endif

void ClearWindowTitle([[maybe_unused]] QWidget& window) {
#ifdef LUMORA_HAVE_XCB
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !window.windowHandle() || QGuiApplication::platformName() != QLatin1String("xcb"))
    return;
  xcb_connection_t* c = x11->connection();
  if (!c) return;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, utf8, 8, 0, nullptr);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, Atom(c, "_NET_WM_NAME"), utf8, 8, 0, nullptr);
  xcb_flush(c);
#endif
}

}  // namespace forms
