#!/usr/bin/env bash
# Runs a test on Qt's wayland platform under a headless weston, whose process id it is given
# in LUMORA_COMPOSITOR_PID.
#
#   under_weston.sh TEST [ARGS...]
#
# Exit status 77 (skipped) when weston or Qt's wayland platform is missing.
set -u
command -v weston >/dev/null || { echo "skipped: weston is not installed"; exit 77; }
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  { echo "skipped: qt6-wayland is not installed"; exit 77; }
runtime=$(mktemp -d); chmod 700 "$runtime"
weston=""
trap 'kill -CONT $weston 2>/dev/null; kill $weston 2>/dev/null; rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --socket=lumora-test --idle-time=0 >"$runtime/log" 2>&1 &
weston=$!
for _ in $(seq 50); do [ -S "$runtime/lumora-test" ] && break; sleep 0.1; done
[ -S "$runtime/lumora-test" ] || { echo "FAIL: weston did not start"; cat "$runtime/log"; exit 1; }
# Under the sanitizers, full stacks for every allocation: the leaks Qt's Wayland plugin leaves
# on purpose are told from the course's own by the plugin's frames (tests/sanitizers/lsan.supp),
# and libwayland has no frame pointers for a quick unwind to pass.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0 \
  WAYLAND_DISPLAY=lumora-test QT_QPA_PLATFORM=wayland LUMORA_COMPOSITOR_PID=$weston "$@"
