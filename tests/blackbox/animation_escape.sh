#!/usr/bin/env bash
# The pupil's way to the animation: the real course under Xvfb and openbox, illusion 7 opened by
# clicks, the animation started with its button. One Esc must end the animation program while the
# course goes on running: pressed once the window is active, and held down while it appears.
#
#   animation_escape.sh COURSE_FOLDER
#
# Exit status 0 passed, 1 failed, 77 skipped (no Xvfb or no openbox).
set -u
bin=${1:?course folder}

if [ "${2:-}" != --inside ]; then
  for tool in xvfb-run Xvfb openbox xdotool xprop import; do
    command -v "$tool" >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
  done
  # The course is designed at 96 dpi; its pages need more room than xvfb-run's default screen.
  # A held key does not repeat (the delay is longer than the test), so that a press is one press.
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -ardelay 60000" "$0" "$bin" --inside
fi

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A process that has ended but not yet been reaped by its new parent counts as gone.
alive() { local s; s=$(ps -o stat= -p "$1" 2>/dev/null); [ -n "$s" ] && [ "${s:0:1}" != Z ]; }

openbox >/dev/null 2>&1 &
pids+=($!)
# A window mapped before the window manager has taken over the screen is never managed.
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

log=$(mktemp)
trap 'cleanup; rm -f "$log"' EXIT
(cd "$bin" && exec ./lumora) 2>"$log" &
course=$!
pids+=($course)

# The course's visible top-level window (the largest, should it ever show a small one beside it).
# Looked up afresh each time: whether a new page brings a new window is the course's business.
course_window() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$course" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
    echo "$((WIDTH * HEIGHT)) $id"
  done | sort -n | tail -n 1 | cut -d ' ' -f 2
}
wait_course_window() {
  local w
  for _ in $(seq 100); do
    alive "$course" || fail "the course ended: $(cat "$log")"
    w=$(course_window)
    [ -n "$w" ] && { echo "$w"; return; }
    sleep 0.1
  done
  fail "no course window"
}
# A checksum of the window's contents; "none" while it cannot be read (being unmapped, say).
pixels() {
  local sum
  sum=$(import -window "$1" rgb:- 2>/dev/null | md5sum)
  [ "$sum" = "$(md5sum </dev/null)" ] && sum=none
  echo "$sum"
}

# A left click at a point of a page, in twips from the client area's top-left (15 twips a pixel),
# then a wait until the page has changed and has settled.
open_by_click() {
  local what=$1 x=$2 y=$3 w before now last
  w=$(wait_course_window) || exit 1
  before=$(pixels "$w")
  xdotool mousemove --window "$w" $((x / 15)) $((y / 15)) click 1
  for _ in $(seq 100); do
    sleep 0.1
    w=$(wait_course_window) || exit 1
    now=$(pixels "$w")
    [ "$now" != none ] && [ "$now" != "$before" ] && [ "$now" = "${last:-}" ] && return
    last=$now
  done
  fail "no change after clicking $what"
}

wait_course_window >/dev/null || exit 1
sleep 0.3  # the first paint
# Centres of the controls, from the page descriptions (left + width / 2, top + height / 2).
open_by_click "the title page" 5000 4000
open_by_click "Command3 on the menu" 2587 5647  # 2040, 5280, 1095 x 735
open_by_click "Next on Form2" 7627 6967         # 7080, 6720, 1095 x 495
open_by_click "Next on Form3" 7507 6847         # 6960, 6600, 1095 x 495
open_by_click "image 7 on Form4" 4867 4747      # 4320, 4440, 1095 x 615

# Presses 開始動畫 (NextStep: 1200, 3000, 1215 x 495) and waits until the window manager has made
# the animation's window the active one; sets anim and animpid. $1 runs right after the click.
start_animation() {
  local w
  w=$(wait_course_window) || exit 1
  xdotool mousemove --window "$w" $((1807 / 15)) $((3247 / 15)) click 1
  eval "${1:-}"
  anim=$(timeout 10 xdotool search --sync --onlyvisible --classname '^7optical' 2>/dev/null | head -n 1)
  [ -n "$anim" ] || fail "no animation window after pressing 開始動畫"
  animpid=$(xdotool getwindowpid "$anim")
  [ -n "$animpid" ] || fail "the animation window names no process"
  pids+=("$animpid")
  for _ in $(seq 100); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$anim" ] && return
    sleep 0.1
  done
  fail "the animation window never became active"
}
expect_ended() {
  for _ in $(seq 50); do
    alive "$animpid" || break
    sleep 0.1
  done
  alive "$animpid" && fail "the animation is still running 5 s after one Esc ($1)"
  alive "$course" || fail "the course ended with the animation: $(cat "$log")"
  [ -n "$(course_window)" ] || fail "the course window is gone"
  echo "one Esc ended the animation ($1); the course is still running"
}

start_animation
sleep 0.5  # a pupil does not press within the first moments either
xdotool key Escape
expect_ended "pressed on the active window"

# A pupil quicker than the window manager: Esc goes down while the window is still appearing, so
# the press goes to the course and only the release reaches the animation. (The server's key
# repeat is off, see above, so no repeated press reaches it either.) Where the window was there
# first, the press itself ends it, which is as good.
w=$(wait_course_window) || exit 1
xdotool mousemove --window "$w" $((1807 / 15)) $((3247 / 15)) click 1 keydown Escape
anim=""
started=""
for _ in $(seq 100); do
  pgrep -f 7optical.exe >/dev/null && started=yes
  [ -z "$started" ] || pgrep -f 7optical.exe >/dev/null || break  # ended on the press
  anim=$(xdotool search --onlyvisible --classname '^7optical' 2>/dev/null | head -n 1)
  [ -n "$anim" ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$anim" ] && break
  anim=""
  sleep 0.1
done
animpid=$([ -n "$anim" ] && xdotool getwindowpid "$anim")
xdotool keyup Escape
if [ -n "$animpid" ]; then
  pids+=("$animpid")
  expect_ended "held down while the window appeared"
elif [ -z "$started" ] || pgrep -f 7optical.exe >/dev/null; then
  fail "no animation started, or its window never became active"
else
  echo "one Esc ended the animation (held down while it started); the course is still running"
fi
echo "2 passed, 0 failed"
