// Wayland's part of the platform requests: an activation token for a program the course starts.
#include <QGuiApplication>
#include <QWindow>

#include "forms/platform/platform.h"

#ifdef LUMORA_HAVE_WAYLAND
#include <poll.h>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>
#include <xdg-activation-v1-client-protocol.h>

#include <cerrno>
#include <cstring>
#include <memory>
#endif

namespace forms {

#ifdef LUMORA_HAVE_WAYLAND
namespace {

using Clock = std::chrono::steady_clock;

// The objects of one request live on an event queue of their own: Qt's queue never sees them,
// and waiting here dispatches none of Qt's events.
class PrivateQueue {
 public:
  explicit PrivateQueue(wl_display* display)
      : display_(display),
        queue_(wl_display_create_queue(display)),
        wrapper_(static_cast<wl_display*>(wl_proxy_create_wrapper(display))) {
    if (wrapper_) wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper_), queue_);
  }
  ~PrivateQueue() {
    if (wrapper_) wl_proxy_wrapper_destroy(wrapper_);
    wl_event_queue_destroy(queue_);
  }
  PrivateQueue(const PrivateQueue&) = delete;
  PrivateQueue& operator=(const PrivateQueue&) = delete;

  // The display as a factory whose new objects report to this queue.
  wl_display* Factory() const { return wrapper_; }
  bool WaitFor(const bool& done, Clock::time_point deadline);

 private:
  wl_display* display_;
  wl_event_queue* queue_;
  wl_display* wrapper_;
};

// Dispatches this queue until `done` holds. A roundtrip would wait for ever on a compositor
// that stops answering; this gives up at the deadline. Reading follows libwayland's
// prepare/read protocol, so Qt's own reader thread and this one share the socket safely.
bool PrivateQueue::WaitFor(const bool& done, Clock::time_point deadline) {
  while (!done) {
    if (wl_display_prepare_read_queue(display_, queue_) != 0) {
      if (wl_display_dispatch_queue_pending(display_, queue_) < 0) return false;
      continue;
    }
    wl_display_flush(display_);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd fd{wl_display_get_fd(display_), POLLIN, 0};
    const int ready = left > 0 ? poll(&fd, 1, int(left)) : 0;
    if (ready <= 0) {
      wl_display_cancel_read(display_);
      if (ready < 0 && errno == EINTR) continue;
      return false;
    }
    if (wl_display_read_events(display_) < 0 ||
        wl_display_dispatch_queue_pending(display_, queue_) < 0)
      return false;
  }
  return true;
}

template <typename T>
using Proxy = std::unique_ptr<T, void (*)(T*)>;

struct Globals {
  uint32_t activation = 0;  // the global's name; 0 when the compositor has none
  bool seat = false;
};

const wl_registry_listener kRegistryListener{
    [](void* data, wl_registry*, uint32_t name, const char* interface, uint32_t) {
      auto* globals = static_cast<Globals*>(data);
      if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        globals->activation = name;
      else if (std::strcmp(interface, wl_seat_interface.name) == 0)
        globals->seat = true;
    },
    [](void*, wl_registry*, uint32_t) {}};

const wl_callback_listener kSyncListener{
    [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; }};

struct Reply {
  QString token;
  bool done = false;
};

const xdg_activation_token_v1_listener kTokenListener{
    [](void* data, xdg_activation_token_v1*, const char* token) {
      auto* reply = static_cast<Reply*>(data);
      reply->token = QString::fromUtf8(token);
      reply->done = true;
    }};

// The compositor grants the focus only for a fresh input event of this client: the serial of
// the pupil's latest click or key press, on its seat. Qt's answers to "wl_seat" and "serial"
// take a seat for granted, so they are asked for only when the compositor has one.
void NameInputEvent(xdg_activation_token_v1* token, QPlatformNativeInterface& native) {
  auto* seat = static_cast<wl_seat*>(native.nativeResourceForIntegration("wl_seat"));
  const auto serial = uint32_t(quintptr(native.nativeResourceForIntegration("serial")));
  if (seat && serial != 0) xdg_activation_token_v1_set_serial(token, serial, seat);
}

std::optional<QString> AskCompositor(QPlatformNativeInterface& native, wl_display* display,
                                     wl_surface* surface, const QString& appId,
                                     Clock::time_point deadline) {
  PrivateQueue queue(display);  // declared first: every proxy below goes before it
  if (!queue.Factory()) return std::nullopt;
  Globals globals;
  Proxy<wl_registry> registry(wl_display_get_registry(queue.Factory()), wl_registry_destroy);
  wl_registry_add_listener(registry.get(), &kRegistryListener, &globals);
  bool listed = false;
  Proxy<wl_callback> sync(wl_display_sync(queue.Factory()), wl_callback_destroy);
  wl_callback_add_listener(sync.get(), &kSyncListener, &listed);
  if (!queue.WaitFor(listed, deadline) || globals.activation == 0) return std::nullopt;

  Proxy<xdg_activation_v1> activation(
      static_cast<xdg_activation_v1*>(
          wl_registry_bind(registry.get(), globals.activation, &xdg_activation_v1_interface, 1)),
      xdg_activation_v1_destroy);
  Proxy<xdg_activation_token_v1> token(xdg_activation_v1_get_activation_token(activation.get()),
                                       xdg_activation_token_v1_destroy);
  Reply reply;
  xdg_activation_token_v1_add_listener(token.get(), &kTokenListener, &reply);
  if (globals.seat) NameInputEvent(token.get(), native);
  if (surface) xdg_activation_token_v1_set_surface(token.get(), surface);
  if (!appId.isEmpty()) xdg_activation_token_v1_set_app_id(token.get(), appId.toUtf8().constData());
  xdg_activation_token_v1_commit(token.get());
  if (!queue.WaitFor(reply.done, deadline) || reply.token.isEmpty()) return std::nullopt;
  return reply.token;
}

}  // namespace
#endif

std::optional<QString> RequestActivationToken(QWidget& window, const QString& appId,
                                              std::chrono::milliseconds timeout) {
#ifdef LUMORA_HAVE_WAYLAND
  if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return std::nullopt;
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  auto* display = native
                      ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"))
                      : nullptr;
  if (!display) return std::nullopt;
  QWindow* handle = window.window()->windowHandle();
  auto* surface = handle
                      ? static_cast<wl_surface*>(native->nativeResourceForWindow("surface", handle))
                      : nullptr;
  return AskCompositor(*native, display, surface, appId, Clock::now() + timeout);
#else
  (void)window, (void)appId, (void)timeout;
  return std::nullopt;
#endif
}

// A program started on X11 or Wayland needs no leave of the course to come to the front; on
// Wayland its token went with it.
void AllowForeground(qint64) {}

}  // namespace forms
