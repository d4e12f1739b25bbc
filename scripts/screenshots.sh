#!/usr/bin/env bash
# Screenshots of every page of the course for the README, as a pupil sees them: the real
# program in a virtual X server (Xvfb, 96 dpi) under a window manager (openbox), clicked through
# from the title page to the last illusion with xdotool, the course window saved after each step
# (the window's client area only, ImageMagick's import).
#
#   scripts/screenshots.sh [LUMORA [OUTDIR]]     default: build/bin/lumora docs/screenshots
#
# Needs: xvfb openbox xdotool x11-utils imagemagick (scripts/setup.sh installs them).
set -euo pipefail
bin=$(readlink -f "${1:-build/bin/lumora}")
out=${2:-docs/screenshots}
[ -x "$bin" ] || { echo "screenshots: no $bin (make build first)"; exit 1; }
mkdir -p "$out"
rm -f "$out"/*.png

set +e  # the session's helpers test and wait; failures end the script through them
. "$(dirname "$0")/../tests/support/xsession.sh"
xsession_start
xsession_wm
log=$xsession_dir/course.log
xsession_spawn app "$bin"
fail() { xsession_fail "screenshots: $* (the course's output: $(cat "$log"))"; }

# The course's window: one for the whole course, its pages shown in it in turn.
xsession_window current "$app"
xsession_wait 30 "the title page was not painted" xsession_painted "$current"
looks() { xsession_look "$current"; }
# Waits until the window has changed from $1 and then shows the same at two reads in a row:
# the click's page or part of it drawn, and no hover or press left to draw (the pointer is
# parked outside the window after each click).
settle() {
  local a b
  a=$1
  for _ in $(seq 600); do
    sleep 0.05
    b=$(looks)
    [ "$b" != "$1" ] && [ "$a" = "$b" ] && return 0
    a=$b
  done
  fail "the window did not change"
}
shot() {  # shot NAME: the window as it is now
  local file=$out/$1.png
  import -window "$current" -strip -define png:compression-level=9 "$file"
  echo "$file $(identify -format '%wx%h' "$file")"
}
press() {  # press X Y: a left click at X,Y twips from the window's top-left corner
  xdotool mousemove --window "$current" $(($1 / 15)) $(($2 / 15)) click 1 mousemove 0 0
}
go() {  # go X Y NAME: a click that changes the page (or the page in place), its screenshot once settled
  local before
  before=$(looks)
  press "$1" "$2"
  settle "$before"
  shot "$3"
}

# The walk, one step a line (tests/support/walk.txt).
xdotool mousemove 0 0
# (Read on a descriptor of its own: nothing the steps run takes the walk as its input.)
while read -r kind x y name <&3; do
  case $kind in
    shot) shot "$name" ;;
    go | step) go "$x" "$y" "$name" ;;
    sweep)
      press "$x" "$y"
      sleep 1.6
      shot "$name"
      ;;
  esac
done 3< <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$(dirname "$0")/../tests/support/walk.txt")
echo "$(ls "$out"/*.png | wc -l) screenshots in $out, $(du -sh "$out" | cut -f1)"
