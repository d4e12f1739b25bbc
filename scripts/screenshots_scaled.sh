#!/usr/bin/env bash
# Screenshots of the course shown larger, for the README: the menu, the first page of the eye
# chapter and illusion 3 explained, at 150 % and 200 % (Qt's scale factor, on a 2560 x 1600
# screen) and full screen on a 1920 x 1080 projector (F11; the whole screen is saved).
#
#   scripts/screenshots_scaled.sh [LUMORA [OUTDIR]]     default: build/bin/lumora docs/screenshots
#
# Needs: xvfb openbox xdotool x11-utils imagemagick (scripts/setup.sh installs them).
set -euo pipefail
bin=$(readlink -f "${1:-build/bin/lumora}")
out=${2:-docs/screenshots}
[ -x "$bin" ] || { echo "screenshots: no $bin (make build first)"; exit 1; }
mkdir -p "$out"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; pids=(); }
trap cleanup EXIT

# session NAME SCREEN FACTOR FULL: one run of the course, its three screenshots.
session() {
  local name=$1 screen=$2 factor=$3 full=$4 display log app current
  display=$(mktemp); log=$(mktemp)
  Xvfb -displayfd 9 -screen 0 "${screen}x24" -dpi 96 -nolisten tcp 9>"$display" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$display" ] && break; sleep 0.1; done
  [ -s "$display" ] || { echo "screenshots: Xvfb did not start"; exit 1; }
  export DISPLAY=:$(cat "$display") QT_QPA_PLATFORM=xcb
  openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
  QT_SCALE_FACTOR=$factor "$bin" >"$log" 2>&1 & app=$!; pids+=($app)
  current=""
  for _ in $(seq 80); do
    current=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | tail -n 1 || true)
    [ -n "$current" ] && break; sleep 0.1
  done
  [ -n "$current" ] || { echo "screenshots: no course window; its output:"; cat "$log"; exit 1; }
  sleep 0.5
  local pw=661 ph=508  # the client area of the page shown, in designed pixels
  looks() { import -window root rgb:- 2>/dev/null | md5sum; }
  # At X,Y twips on the page: its designed pixel times the scale, from the page's corner.
  press() {
    local at
    if [ "$full" = 1 ]; then
      at=$(awk -v x="$1" -v y="$2" -v w="$pw" -v h="$ph" -v W="${screen%x*}" -v H="${screen#*x}" 'BEGIN {
        s = W / w < H / h ? W / w : H / h
        px = int(x / 15 + 0.5); py = int(y / 15 + 0.5)
        printf "%d %d", int((W - int(w * s + 0.5)) / 2) + int(px * s + 0.5), int((H - int(h * s + 0.5)) / 2) + int(py * s + 0.5) }')
      # shellcheck disable=SC2086
      xdotool mousemove $at click 1
    else
      at=$(awk -v x="$1" -v y="$2" -v f="$factor" 'BEGIN { printf "%d %d", int(x / 15 * f + 0.5), int(y / 15 * f + 0.5) }')
      # shellcheck disable=SC2086
      xdotool mousemove --window "$current" $at click 1
    fi
  }
  go() {  # go X Y WIDTHxHEIGHT: a click that opens a page of that designed size
    local before; before=$(looks)
    press "$1" "$2"
    pw=${3%x*}; ph=${3#*x}
    for _ in $(seq 80); do [ "$(looks)" != "$before" ] && break; sleep 0.1; done
    sleep 0.4
  }
  shot() {
    local file=$out/$name-$1.png
    sleep 0.4
    if [ "$full" = 1 ]; then
      import -window root -strip -define png:compression-level=9 "$file"
    else
      import -window "$current" -strip -define png:compression-level=9 "$file"
    fi
    echo "$file $(identify -format '%wx%h' "$file")"
  }
  if [ "$full" = 1 ]; then
    xdotool windowactivate --sync "$current" >/dev/null 2>&1 || true
    xdotool key F11
    for _ in $(seq 80); do
      [ "$(xdotool getwindowgeometry "$current" | awk '/Geometry/ { print $2 }')" = "$screen" ] && break
      sleep 0.1
    done
    sleep 0.5
  fi
  go 9000 7000 661x508; shot menu             # the title page leads to the menu
  go 2587 4327 659x506; shot eye-front        # the eye chapter
  go 847 7087 661x508                         # back to the menu
  go 2587 5647 661x508                        # the illusion chapter
  go 7627 6967 661x508
  go 7507 6847 661x508                        # the index
  go 6187 3787 659x506                        # illusion 3 by its number button
  press 1087 5527; shot illusion-3-explained
  cleanup
  rm -f "$display" "$log"
}

session 150 2560x1600 1.5 0
session 200 2560x1600 2 0
session full-screen 1920x1080 1 1
