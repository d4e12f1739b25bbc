#!/usr/bin/env bash
# The pupil's way to the animation: the real course under Xvfb and openbox, illusion 7 opened by
# clicks, the animation started with its button. One Esc must end the animation program while the
# course goes on running: pressed once the window has the keyboard, and held down while it
# appears.
#
#   animation_escape.sh COURSE_FOLDER
#
# Exit status 0 passed, 1 failed, 77 skipped (no Xvfb or no openbox).
set -u
bin=${1:?course folder}
for tool in Xvfb openbox xdotool xprop import; do
  command -v "$tool" >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
done
. "$(dirname "$0")/../support/xsession.sh"
fail() { xsession_fail "$@"; }

# The course is designed at 96 dpi. A held key does not repeat (the delay is longer than the
# test), so that a press is one press.
xsession_start 1280x1024 -ardelay 60000
xsession_wm
log=$xsession_dir/course.log
xsession_spawn course sh -c 'cd "$1" && exec ./lumora' sh "$bin" 2>"$log"

alive() { xsession_running "$1"; }
# Animation programs running on this session's display (others may run elsewhere on the machine).
animations() {
  local p
  for p in $(pgrep -f 7optical.exe); do
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" && echo "$p"
  done
}
# The course's window, looked up afresh each time: whether a new page brings a new window is the
# course's business.
course_window() {
  alive "$course" || fail "the course ended: $(cat "$log")"
  xsession_window w "$course"
  echo "$w"
}

# A left click at a point of a page, in twips from the client area's top-left (15 twips a pixel),
# then a wait until the page has changed and has settled.
open_by_click() {
  local what=$1 x=$2 y=$3 w before now last=""
  w=$(course_window) || exit 1
  before=$(xsession_look "$w")
  xdotool mousemove --window "$w" $((x / 15)) $((y / 15)) click 1
  changed() {
    w=$(course_window) || exit 1
    now=$(xsession_look "$w")
    [ "$now" != none ] && [ "$now" != "$before" ] && [ "$now" = "$last" ] && return 0
    last=$now
    return 1
  }
  xsession_within 30 changed || fail "no change after clicking $what"
}

w=$(course_window) || exit 1
xsession_wait 30 "the title page was not painted" xsession_painted "$w"
# Centres of the controls, from the page descriptions (left + width / 2, top + height / 2).
open_by_click "the title page" 5000 4000
open_by_click "Command3 on the menu" 2587 5647  # 2040, 5280, 1095 x 735
open_by_click "Next on Form2" 7627 6967         # 7080, 6720, 1095 x 495
open_by_click "Next on Form3" 7507 6847         # 6960, 6600, 1095 x 495
open_by_click "image 7 on Form4" 4867 4747      # 4320, 4440, 1095 x 615

# The animation's window once it has the keyboard: the X server's input focus, which is where
# a key goes, on the window or inside it.
anim=""
has_keyboard() {
  anim=$(xdotool search --onlyvisible --classname '^7optical' 2>/dev/null | head -n 1)
  [ -n "$anim" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$anim" ]
}
# Presses 開始動畫 (NextStep: 1200, 3000, 1215 x 495) and waits until the animation's window has
# the keyboard; sets anim and animpid.
start_animation() {
  local w
  w=$(course_window) || exit 1
  xdotool mousemove --window "$w" $((1807 / 15)) $((3247 / 15)) click 1
  xsession_within 30 has_keyboard || fail "no animation window with the keyboard after 開始動畫"
  animpid=$(xdotool getwindowpid "$anim")
  [ -n "$animpid" ] || fail "the animation window names no process"
  xsession_pids+=("$animpid")
}
expect_ended() {
  gone() { ! alive "$animpid"; }
  xsession_within 10 gone || fail "the animation is still running 10 s after one Esc ($1)"
  alive "$course" || fail "the course ended with the animation: $(cat "$log")"
  w=$(course_window) || exit 1
  # The keyboard back with the course, and no frame of the animation left over it to catch the
  # next click.
  course_has_keyboard() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$w" ]; }
  xsession_within 10 course_has_keyboard || fail "the course did not get the keyboard back"
  echo "one Esc ended the animation ($1); the course is still running"
}

start_animation
xdotool key Escape
expect_ended "pressed on the window with the keyboard"

# A pupil quicker than the window manager: Esc goes down before the animation's window can take
# the keyboard, so the press goes to the course and only the release reaches the animation. (The
# server's key repeat is off, see above, so no repeated press reaches it either.) The key goes
# down with the click, just before it, so that its press cannot reach the animation first.
w=$(course_window) || exit 1
xdotool mousemove --window "$w" $((1807 / 15)) $((3247 / 15)) keydown Escape click 1
xsession_within 30 has_keyboard ||
  fail "no animation window with the keyboard (running: $(animations); keyboard with" \
    "$(xdotool getwindowfocus), the course is $w)"
animpid=$(xdotool getwindowpid "$anim")
xsession_pids+=("$animpid")
xdotool keyup Escape
expect_ended "held down while the window appeared"
echo "2 passed, 0 failed"
