#!/usr/bin/env bash
# Clicks made during a blind-spot sweep, with the real program under a real X server and window
# manager: a click on 下一頁 whose pointer then moves away must still lead to the next page once
# the sweep ends, and extra clicks on 左眼 must first run their own sweeps.
#
#   sweep_click.sh COURSE_FOLDER     RUNS=20 EXTRA_RUNS=5 for a longer series by hand
#
# Pages are told apart by their pixels, the pointer outside the window: the page after a click is
# compared with a picture of that page taken at the start. Exit status 77 when Xvfb, openbox,
# xdotool or ImageMagick are missing.
set -u
bin=${1:?course folder}
runs=${RUNS:-3}
extra_runs=${EXTRA_RUNS:-1}
for tool in Xvfb openbox xdotool xprop import; do
  command -v $tool >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
done
. "$(dirname "$0")/../support/xsession.sh"
xsession_start
xsession_wm
log=$xsession_dir/course.log
xsession_spawn app sh -c 'cd "$1" && exec ./lumora' sh "$bin" 2>"$log"
xsession_window w "$app"
fail() { xsession_fail "$* (the course's output: $(cat "$log"))"; }

# Places on the pages in twips, at the centre of each control.
menu_eye=2587,4327 next=7747,7087 back=6427,7087 left=9127,3667
to() { echo "$((${1%,*} / 15)) $((${1#*,} / 15))"; }
move() { xdotool mousemove --window "$w" $(to "$1"); }
park() { xdotool mousemove 0 0; }  # the screen's corner, outside the centred window
look() { xsession_look "$w"; }
is() { [ "$(look)" = "$1" ]; }
# A click that leads to another page, the pointer parked again at once; prints that page's
# look once it has settled (the same at two reads in a row, and painted).
go() {
  local before a b
  before=$(look)
  xdotool mousemove --window "$w" $(to "$1") click 1 mousemove 0 0
  a=$before
  for _ in $(seq 600); do
    b=$(look)
    [ "$a" = "$b" ] && [ "$b" != "$before" ] && xsession_painted "$w" && { echo "$b"; return; }
    a=$b
    sleep 0.05
  done
  fail "no other page after a click at $1 (looks: $before $a $b)"
}
# Three reads of the window, each unlike the others: the marks are moving (a button's pressed
# look coming and going changes it twice at most).
sweeping() {
  local a b c
  a=$(look) b=$(look) c=$(look)
  [ "$a" != "$b" ] && [ "$b" != "$c" ] && [ "$a" != "$c" ]
}

park
xsession_wait 30 "the title page was not painted" xsession_painted "$w"
go 9000,7000 >/dev/null || exit 1  # the title page leads to the menu
go $menu_eye >/dev/null || exit 1  # the eye chapter
for _ in 1 2; do go $next >/dev/null || exit 1; done
form21=$(go $next) && form22=$(go $next) || exit 1
back_to_form21() {
  [ "$(look)" = "$form22" ] || fail "not on the next page"
  xdotool mousemove --window "$w" $(to $back) click 1 mousemove 0 0
  xsession_within 30 is "$form21" || fail "not back on the blind-spot page"
}
back_to_form21

# Starts a sweep with 左眼 and waits until the marks move.
sweep() {
  move $left
  xdotool click 1
  xsession_within 30 sweeping || fail "no sweep after 左眼"
}
# During the sweep: a press and a release on 下一頁, then the pointer moves on.
click_and_move_on() { move $next; xdotool mousedown 1 mouseup 1; park; }

passed=0
for run in $(seq "$runs"); do
  sweep
  click_and_move_on
  # The sweep lasts four seconds; the click comes after it.
  if xsession_within 30 is "$form22"; then
    passed=$((passed + 1))
  else
    echo "run $run: the click on 下一頁 was lost"
    xdotool mousemove --window "$w" $(to $next) click 1 mousemove 0 0
    xsession_within 30 is "$form22" || fail "Form22 cannot be reached any more"
  fi
  back_to_form21
done
echo "click then pointer moved on: $passed of $runs runs reached the next page"

extra_passed=0
for run in $(seq "$extra_runs"); do
  start=$(date +%s.%N)
  sweep
  move $left
  xdotool click --repeat 2 --delay 150 1
  click_and_move_on
  # Three sweeps of four seconds, then the next page: two would take eight.
  xsession_within 60 is "$form22" || fail "no next page a minute after the clicks"
  took=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
  awk -v t="$took" 'BEGIN { exit !(t > 10) }' && extra_passed=$((extra_passed + 1)) ||
    echo "run $run: the next page after ${took}s, too soon for three sweeps"
  echo "extra clicks run $run: next page after ${took}s"
  back_to_form21
done
echo "two more 左眼 clicks, then 下一頁: $extra_passed of $extra_runs runs swept three times, then the next page"
[ $passed -eq "$runs" ] && [ $extra_passed -eq "$extra_runs" ]
