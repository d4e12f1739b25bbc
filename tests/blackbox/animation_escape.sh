#!/usr/bin/env bash
# The pupil's way to the animation: the real course under Xvfb and openbox, illusion 7 opened by
# clicks, the animation started with its button. One press of Esc must end the animation program
# while the course goes on running.
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
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp" "$0" "$bin" --inside
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
for _ in $(seq 100); do
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
pixels() { import -window "$1" rgb:- 2>/dev/null | md5sum; }

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
    [ "$now" != "$before" ] && [ "$now" = "${last:-}" ] && return
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

w=$(wait_course_window) || exit 1
xdotool mousemove --window "$w" $((1807 / 15)) $((3247 / 15)) click 1  # NextStep: 1200, 3000
anim=$(timeout 10 xdotool search --sync --onlyvisible --classname '^7optical' 2>/dev/null | head -n 1)
[ -n "$anim" ] || fail "no animation window after pressing 開始動畫"
animpid=$(xdotool getwindowpid "$anim")
[ -n "$animpid" ] || fail "the animation window names no process"
pids+=("$animpid")

# The window manager gives it the focus; only then is Esc the pupil's press on it.
for _ in $(seq 50); do
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$anim" ] && break
  sleep 0.1
done
[ "$(xdotool getactivewindow 2>/dev/null)" = "$anim" ] || fail "the animation window never became active"
sleep 0.5  # a pupil does not press within the first moments either

xdotool key Escape
for _ in $(seq 50); do
  alive "$animpid" || break
  sleep 0.1
done
alive "$animpid" && fail "the animation is still running 5 s after one Esc"
alive "$course" || fail "the course ended with the animation: $(cat "$log")"
[ -n "$(course_window)" ] || fail "the course window is gone"
echo "one Esc ended the animation (pid $animpid); the course is still running"
echo "1 passed, 0 failed"
