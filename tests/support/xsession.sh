# A private X session for a black-box test, sourced by the test's script:
#
#   . tests/support/xsession.sh
#   xsession_start [WIDTHxHEIGHT [Xvfb options...]]   Xvfb on a display nobody else has; DISPLAY set
#                                                    (and QT_QPA_PLATFORM=xcb)
#   xsession_wm                                      openbox, back once it manages the screen
#   xsession_spawn VAR COMMAND...                    a process ended with the session, its pid in VAR
#   xsession_wait SECONDS DESCRIPTION COMMAND...     polls COMMAND until it succeeds, or fails the test
#   xsession_within SECONDS COMMAND...               the same, but returns 1 instead of failing
#   xsession_window VAR PID                          waits for the process's window, its id in VAR
#   xsession_running PID                             whether the process runs (an unreaped one does not)
#   xsession_look WINDOW                             a checksum of the window's pixels
#   xsession_painted WINDOW                          whether the window shows more than a plain ground
#
# Xvfb picks a free display itself and hands its number back (-displayfd) once it accepts
# clients: tests that run side by side never share a server, as two `xvfb-run -a` could when
# both pick the same free number at once. Everything started is ended when the script exits.

xsession_pids=()
xsession_cleanup() {
  local p
  for p in "${xsession_pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${xsession_pids[@]}"; do wait "$p" 2>/dev/null; done
  [ -n "${xsession_dir:-}" ] && rm -rf "$xsession_dir"
}
trap xsession_cleanup EXIT

xsession_fail() { echo "FAIL: $*" >&2; exit 1; }

# xsession_within SECONDS COMMAND...: polls COMMAND until it succeeds (status 0) or time is up (1).
xsession_within() {
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 20; i++)); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

xsession_wait() {
  local seconds=$1 what=$2
  shift 2
  xsession_within "$seconds" "$@" || xsession_fail "$what (after ${seconds} s)"
}

xsession_spawn() {
  local var=$1
  shift
  "$@" &
  xsession_pids+=($!)
  printf -v "$var" '%s' "$!"
}

xsession_start() {
  local size=${1:-1280x1024}
  shift || true
  xsession_dir=$(mktemp -d)
  mkfifo "$xsession_dir/display"
  # A runtime folder of the session's own, as a desktop session has (Qt warns without one).
  mkdir -m 700 "$xsession_dir/runtime"
  export XDG_RUNTIME_DIR=$xsession_dir/runtime
  # The server keeps its state when its last client leaves (a test's short-lived xdotool, say):
  # one that resets then refuses whoever connects meanwhile. XSESSION_RESET=yes lets it reset,
  # as a server started by xinit does.
  local keep=-noreset
  [ "${XSESSION_RESET:-}" = yes ] && keep=
  Xvfb -displayfd 3 -screen 0 "${size}x24" -dpi 96 -nolisten tcp $keep "$@" \
    3>"$xsession_dir/display" 2>"$xsession_dir/xvfb.log" &
  xsession_pids+=($!)
  local number=""
  # The number comes once the server accepts clients; end of file means it died.
  read -r -t 60 number <"$xsession_dir/display" ||
    xsession_fail "Xvfb did not start: $(cat "$xsession_dir/xvfb.log")"
  # Qt on this server, whatever else the test's environment offers.
  export DISPLAY=:$number QT_QPA_PLATFORM=xcb
}

xsession_wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
xsession_wm() {
  # A window mapped before the window manager has taken over the screen is never managed.
  openbox --sm-disable >"$xsession_dir/openbox.log" 2>&1 &
  xsession_pids+=($!)
  xsession_within 60 xsession_wm_ready ||
    xsession_fail "openbox did not take the screen (after 60 s): $(cat "$xsession_dir/openbox.log")"
}

# The process's visible top-level window, the largest should it show several; empty if none.
xsession_window_of() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
    echo "$((WIDTH * HEIGHT)) $id"
  done | sort -n | tail -n 1 | cut -d ' ' -f 2
}
xsession_window() {
  local var=$1 pid=$2 id=""
  _xsession_found() { id=$(xsession_window_of "$pid") && [ -n "$id" ]; }
  xsession_wait 60 "no window of process $pid" _xsession_found
  printf -v "$var" '%s' "$id"
}

xsession_look() {
  local sum
  sum=$(import -window "$1" rgb:- 2>/dev/null | md5sum | cut -d ' ' -f 1)
  [ "$sum" = "$(md5sum </dev/null | cut -d ' ' -f 1)" ] && sum=none
  echo "$sum"
}

# A window not yet painted shows one colour, or the few of a frame; a page shows hundreds.
xsession_painted() {
  local colours
  colours=$(import -window "$1" -format %k info: 2>/dev/null) && [ "${colours:-0}" -gt 100 ]
}

xsession_running() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) && [ -n "$state" ] && [ "${state:0:1}" != Z ]
}
