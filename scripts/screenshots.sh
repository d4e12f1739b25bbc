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
go() {  # go X Y NAME: a click that changes the page, then its screenshot once settled
  local before
  before=$(looks)
  press "$1" "$2"
  settle "$before"
  shot "$3"
}
step() { go "$@"; }  # a click that changes the page in place

# Button centres in twips, as the page descriptions place them.
xdotool mousemove 0 0
shot 01-title
go 9000 7000 02-menu
go 2587 4327 03-eye-front                 # the eye chapter
go 7747 7087 04-eye-parts
go 7747 7087 05-eye-cross-section
go 7747 7087 06-blind-spot
press 9127 2827                           # the right eye: the mark sweeps for four seconds
sleep 1.6                                 # the picture is of the mark 1.6 s into its sweep
shot 07-blind-spot-right-eye
go 7747 7087 08-how-the-eye-works         # held until the sweep ends
go 847 7087 09-menu-again                 # back to the menu
go 2587 5647 10-senses                    # the illusion chapter
go 7627 6967 11-senses-2
go 7507 6847 12-illusion-index
go 2227 3787 13-illusion-0                # illusion 0 by its number button
step 1087 3367 14-illusion-0-explained
go 7507 6847 15-illusion-1
step 1087 5287 16-illusion-1-explained
go 7507 6847 17-illusion-2
step 1087 5407 18-illusion-2-explained
go 7507 6847 19-illusion-3
step 1087 5527 20-illusion-3-explained
go 7507 6967 21-illusion-4
step 1087 5527 22-illusion-4-explained
go 7507 6847 23-illusion-5
step 5887 3127 24-illusion-5-next-step
step 5887 3847 25-illusion-5-explained
go 7507 6847 26-illusion-6
step 7327 3607 27-illusion-6-next-step
step 7327 4207 28-illusion-6-explained
go 7507 6847 29-illusion-7
step 1807 3967 30-illusion-7-explained
go 7507 6847 31-illusion-8
step 6487 2647 32-illusion-8-explained
go 7507 6847 33-illusion-9
step 6727 2647 34-illusion-9-next-step
step 6727 3367 35-illusion-9-explained
echo "$(ls "$out"/*.png | wc -l) screenshots in $out, $(du -sh "$out" | cut -f1)"
