#!/usr/bin/env bash
# The animation takes the focus on Wayland: the real course on Qt's wayland platform under a
# headless sway, illusion 7 opened by clicks, the animation started with its button. The course
# asks sway for an activation token (get_activation_token), hands it to the program, and the
# program's window activates itself with it and so becomes sway's focused window.
#
# sway focuses every new window of its own accord; here it is told not to focus the animation's
# window when it appears (no_focus), so that only an activation can give it the focus. The same
# program started without a token while the course has the focus shows that it does not.
#
#   wayland_activation.sh COURSE_FOLDER APP_ID VIRTUAL_POINTER
#
# Exit status 0 passed, 1 failed, 77 skipped (sway or Qt's wayland platform missing).
set -u
bin=${1:?course folder} app=${2:?app id} pointer=${3:?virtual pointer program}
command -v sway >/dev/null && command -v swaymsg >/dev/null ||
  { echo "skipped: sway is not installed"; exit 77; }
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  { echo "skipped: qt6-wayland is not installed"; exit 77; }

runtime=$(mktemp -d); chmod 700 "$runtime"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$runtime"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "0 passed, 1 failed"; exit 1; }
export XDG_RUNTIME_DIR=$runtime
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK XDG_ACTIVATION_TOKEN

cat >"$runtime/config" <<'EOF'
output HEADLESS-1 resolution 1600x1200
default_border none
default_floating_border none
focus_on_window_activation focus
no_focus [title="^動畫$"]
# Floating, so that the course keeps its place and size while the animation is open.
for_window [title="^動畫$"] floating enable
EOF
# sway will not run as root; root still reaches the sockets of the user it runs as.
as=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$runtime"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  "${as[@]}" sway -c "$runtime/config" >"$runtime/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  ls "$runtime"/sway-ipc.*.sock >/dev/null 2>&1 && [ -S "$runtime/wayland-1" ] && break
  sleep 0.1
done
SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null) || { cat "$runtime/sway.log"; fail "sway did not start"; }
export SWAYSOCK WAYLAND_DISPLAY=wayland-1 QT_QPA_PLATFORM=wayland

"$pointer" >"$runtime/pointer" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q ready "$runtime/pointer" && break; sleep 0.1; done
grep -q ready "$runtime/pointer" || fail "no pointer for the seat: $(cat "$runtime/pointer")"

# One line a window: "name focused x y pid", the name the app id, or 7optical for the animation,
# which names the course's desktop entry as its app id and is told by its title.
windows() {
  swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    yield n
    for c in n.get("nodes", []) + n.get("floating_nodes", []): yield from walk(c)
for n in walk(json.load(sys.stdin)):
    name = "7optical" if n.get("name") == "動畫" else n.get("app_id")
    if n.get("pid"): print(name, n["focused"], n["rect"]["x"], n["rect"]["y"], n["pid"])'
}
window() { windows | awk -v a="$1" '$1 == a { print $3, $4, $5; exit }'; }
focused() { windows | awk '$2 == "True" { print $1 }'; }
wait_window() {
  for _ in $(seq 100); do [ -n "$(window "$1")" ] && return 0; sleep 0.1; done
  return 1
}

(cd "$bin" && WAYLAND_DEBUG=1 exec ./lumora) >/dev/null 2>"$runtime/trace" &
course=$!
pids+=($course)
wait_window "$app" || fail "no course window: $(tail -n 5 "$runtime/trace")"

# Waits until the course has drawn nothing new for a moment: the page it shows has settled.
settle() {
  local size last=-1
  for _ in $(seq 50); do
    sleep 0.2
    size=$(stat -c %s "$runtime/trace")
    [ "$size" = "$last" ] && return
    last=$size
  done
}
# A left click at a point of a page, in twips from the window's top-left (15 twips a pixel).
click() {
  local x y
  read -r x y _ <<<"$(window "$app")"
  swaymsg -q seat seat0 cursor set $((x + $1 / 15)) $((y + $2 / 15))
  swaymsg -q seat seat0 cursor press button1
  swaymsg -q seat seat0 cursor release button1
}
open_by_click() {
  click "$2" "$3"
  kill -0 "$course" 2>/dev/null || fail "the course ended after clicking $1"
  settle
}

settle
# Centres of the controls, from the page descriptions (left + width / 2, top + height / 2).
open_by_click "the title page" 5000 4000
open_by_click "Command3 on the menu" 2587 5647  # 2040, 5280, 1095 x 735
open_by_click "Next on Form2" 7627 6967         # 7080, 6720, 1095 x 495
open_by_click "Next on Form3" 7507 6847         # 6960, 6600, 1095 x 495
open_by_click "image 7 on Form4" 4867 4747      # 4320, 4440, 1095 x 615
[ "$(focused)" = "$app" ] || fail "the course does not have the focus: $(focused)"

# Without a token: the program's window appears, but the focus stays with the course.
(cd "$bin" && exec ./7optical.exe) 2>/dev/null &
bare=$!
pids+=($bare)
wait_window 7optical || fail "the animation started by hand shows no window"
sleep 1
now=$(focused)
kill $bare; wait $bare 2>/dev/null
for _ in $(seq 50); do [ -z "$(window 7optical)" ] && break; sleep 0.1; done
[ "$now" = "$app" ] || fail "the animation took the focus without a token ($now)"
echo "ok: without a token the animation's window did not take the focus"

click 1807 3247  # 開始動畫 (NextStep): 1200, 3000, 1215 x 495
wait_window 7optical || fail "no animation window after pressing 開始動畫"
read -r _ _ animpid <<<"$(window 7optical)"
pids+=($animpid)
for _ in $(seq 50); do [ "$(focused)" = 7optical ] && break; sleep 0.1; done
now=$(focused)

# Qt asks for tokens of its own whenever a page activates its window; the course's request for
# the animation is the one that names the program's app id. Its lines, up to sway's answer:
request=$(awk '
  match($0, /xdg_activation_token_v1@[0-9]+/) {
    id = substr($0, RSTART, RLENGTH)
    if ($0 ~ /get_activation_token/) lines[id] = ""
    lines[id] = lines[id] $0 "\n"
    if ($0 ~ /set_app_id\("7optical"\)/) mine = id
    if (mine == id && $0 ~ /\.done\(/) { printf "%s", lines[id]; exit }
  }' "$runtime/trace")
[ -n "$request" ] || fail "the course asked for no token for the animation"
for step in get_activation_token set_serial set_surface commit; do
  grep -q "$step(" <<<"$request" || fail "the course's request lacks $step: $request"
done
token=$(grep -o 'done("[^"]*")' <<<"$request" | sed 's/done("\(.*\)")/\1/')
# The program writes its trace to the course's standard error: the same token activates it.
grep -qF "activate(\"$token\"" "$runtime/trace" || fail "the animation did not activate with the token"
echo "ok: the course asked for token $token and the animation activated its window with it"
[ "$now" = 7optical ] || fail "the animation's window is not focused ($now)"
echo "ok: the animation's window (process $animpid) is sway's focused window"
echo "3 passed, 0 failed"
