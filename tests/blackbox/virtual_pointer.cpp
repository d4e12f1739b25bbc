// Gives a headless wlroots compositor's seat a pointer: with no input device the seat offers
// clients none, and the clicks made with `swaymsg seat seat0 cursor ...` would reach no window.
// The device lives as long as this program: it prints "ready" once the compositor has it and
// then waits until it is ended or the compositor goes.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

namespace {

// Only what is needed of the wlroots virtual pointer protocol: the manager's first request.
const wl_interface kPointer = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kPointer};
const wl_message kManagerRequests[] = {{"create_virtual_pointer", "?on", kCreateTypes}};
const wl_interface kManager = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};

const wl_registry_listener kListener{
    [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
      if (std::strcmp(interface, kManager.name) == 0)
        *static_cast<wl_proxy**>(data) =
            static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManager, 1));
    },
    [](void*, wl_registry*, uint32_t) {}};

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "virtual_pointer: no compositor\n");
    return 1;
  }
  wl_proxy* manager = nullptr;
  wl_registry_add_listener(wl_display_get_registry(display), &kListener, &manager);
  wl_display_roundtrip(display);
  if (!manager) {
    std::fprintf(stderr, "virtual_pointer: the compositor has no virtual pointers\n");
    return 1;
  }
  // A null seat: the compositor's default one.
  wl_proxy_marshal_constructor(manager, 0, &kPointer, nullptr, nullptr);
  if (wl_display_roundtrip(display) < 0) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  while (wl_display_dispatch(display) >= 0) {
  }
  return 0;
}
