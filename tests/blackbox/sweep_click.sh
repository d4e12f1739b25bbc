#!/usr/bin/env bash
# Clicks made during a blind-spot sweep, with the real program under a real X server and window
# manager: a click on 下一頁 whose pointer then moves away must still lead to the next page once
# the sweep ends, and extra clicks on 左眼 must first run their own sweeps.
#
#   sweep_click.sh COURSE_FOLDER     RUNS=20 EXTRA_RUNS=5 for a longer series by hand
#
# Pages are told apart by their pixels: the page after a click is compared with a picture of
# that page taken at the start. Exit status 77 when Xvfb, openbox, xdotool or ImageMagick are
# missing.
set -u
bin=${1:?course folder}
runs=${RUNS:-3}
extra_runs=${EXTRA_RUNS:-1}
for tool in Xvfb openbox xdotool import xdpyinfo; do
  command -v $tool >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
done

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; }
trap cleanup EXIT
for n in $(seq 60 99); do [ -e /tmp/.X11-unix/X$n ] || break; done
Xvfb :$n -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=:$n QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & pids+=($!)
sleep 0.5
(cd "$bin" && exec ./lumora) >/dev/null 2>&1 & app=$!; pids+=($app)

# Places on the pages in twips, at the centre of each control.
menu_eye=2587,4327 next=7747,7087 back=6427,7087 left=9127,3667 rest=3500,7050

win() {
  local w=""
  for _ in $(seq 50); do
    w=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | tail -n 1)
    [ -n "$w" ] && break
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  echo "$w"
}
move() { xdotool mousemove --window "$(win)" $((${1%,*} / 15)) $((${1#*,} / 15)) 2>/dev/null; }
click() { move "$1"; xdotool click 1; sleep 0.6; }
# What the window shows, the pointer at rest away from every control.
look() {
  local w; w=$(win)
  # Without a window import would wait for one to be picked by hand.
  [ -n "$w" ] || { echo "no window"; return; }
  move $rest; sleep 0.3; timeout 5 import -window "$w" -depth 8 rgb:- 2>/dev/null | md5sum
}
# Waits up to $1 seconds for the window to stop changing (a sweep to end and what it held to
# be delivered), then prints what it shows. A busy machine may stretch a sweep; that is no loss.
settle() {
  local end=$((SECONDS + $1)) a b
  a=$(look)
  while [ $SECONDS -le $end ]; do
    sleep 0.5; b=$(look)
    [ "$a" = "$b" ] && break
    a=$b
  done
  echo "$b"
}
# Waits up to $2 seconds for the window to show the page pictured in $1; prints the seconds
# it took, or nothing.
await() {
  local start=$SECONDS end=$((SECONDS + $2))
  while [ $SECONDS -le $end ]; do
    [ "$(look)" = "$1" ] && { echo $((SECONDS - start)); return 0; }
    sleep 0.2
  done
  return 1
}

sleep 1
click 9000,7000                    # the title page leads to the menu
click $menu_eye                    # the eye chapter
for _ in 1 2 3; do click $next; done
form21=$(look)
click $next
form22=$(look)
click $back
[ "$(look)" = "$form21" ] && [ "$form21" != "$form22" ] ||
  { echo "FAIL: could not tell the blind-spot page from the next one"; exit 1; }

# A fresh blind-spot page, its marks at their start, whether or not a run has left it.
back_to_form21() {
  [ "$(look)" = "$form22" ] || click $next
  click $back
  await "$form21" 5 >/dev/null || { echo "FAIL: not back on the blind-spot page"; exit 1; }
}

# During the sweep: a press and a release on 下一頁, then the pointer moves on.
click_and_move_on() { move $next; xdotool mousedown 1 mouseup 1; move $rest; }

passed=0
for run in $(seq "$runs"); do
  move $left; xdotool click 1; sleep 0.5
  click_and_move_on
  # The sweep lasts four seconds; the click comes after it.
  sleep 3.5
  if [ "$(settle 30)" = "$form22" ]; then
    passed=$((passed + 1))
  else
    echo "run $run: the click on 下一頁 was lost"
  fi
  back_to_form21
done
echo "click then pointer moved on: $passed of $runs runs reached the next page"

extra_passed=0
for run in $(seq "$extra_runs"); do
  start=$(date +%s.%N)
  move $left; xdotool click 1; sleep 0.5
  move $left; xdotool click --repeat 2 --delay 150 1
  click_and_move_on
  # Three sweeps of four seconds: the cross still moves after the first, then the next page.
  sleep 5.5
  a=$(look); sleep 0.3; b=$(look)
  moving=$([ "$a" != "$b" ] && [ "$a" != "$form22" ] && echo yes || echo no)
  sleep 5; settle 60 >/dev/null
  took=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
  if [ "$moving" = yes ] && [ "$(look)" = "$form22" ] && awk -v t="$took" 'BEGIN { exit !(t > 11) }'; then
    extra_passed=$((extra_passed + 1))
  else
    echo "run $run: still sweeping after the first sweep: $moving; next page after ${took}s"
  fi
  echo "extra clicks run $run: next page after ${took}s"
  back_to_form21
done
echo "two more 左眼 clicks, then 下一頁: $extra_passed of $extra_runs runs swept three times, then the next page"
[ $passed -eq "$runs" ] && [ $extra_passed -eq "$extra_runs" ]
