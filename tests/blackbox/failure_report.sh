#!/usr/bin/env bash
# The real program with a picture missing: the error names the file on standard error and in a
# message box, and once the box is dismissed the program ends with status 1. Then the same
# program, complete, ends with status 0 when its window is closed.
set -u
bin=${1:?course folder}
xvfb-run --help >/dev/null 2>&1 || { echo "xvfb-run not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$bin" "$work/course"
rm "$work/course/bg5.jpg"

cat > "$work/drive.sh" <<'INNER'
#!/usr/bin/env bash
cd "$1"
./lumora 2> "$2/stderr.txt" &
pid=$!
# The message box is the only window the program shows.
w=$(timeout 10 xdotool search --sync --onlyvisible --pid $pid 2>/dev/null | head -n 1)
[ -n "$w" ] || { echo "no message box"; kill $pid; exit 2; }
xdotool windowfocus --sync "$w" key Return
timeout 10 tail --pid=$pid -f /dev/null
wait $pid
echo "status $?"
INNER
chmod +x "$work/drive.sh"
out=$(xvfb-run -a "$work/drive.sh" "$work/course" "$work")
echo "$out"
grep -q "status 1" <<<"$out" || { echo "FAIL: expected status 1"; exit 1; }
grep -q "$work/course/bg5.jpg" "$work/stderr.txt" || { echo "FAIL: stderr does not name the file:"; cat "$work/stderr.txt"; exit 1; }
echo "stderr: $(cat "$work/stderr.txt")"

# A complete course closed by the window system.
cp "$bin/bg5.jpg" "$work/course/"
cat > "$work/close.sh" <<'INNER'
#!/usr/bin/env bash
cd "$1"
openbox >/dev/null 2>&1 &
wm=$!
# A window mapped while the window manager is still starting up can be lost to it.
sleep 1
./lumora 2>"$1/close-stderr.txt" &
pid=$!
w=$(timeout 10 xdotool search --sync --onlyvisible --pid $pid 2>/dev/null | head -n 1)
[ -n "$w" ] || { echo "no window"; cat "$1/close-stderr.txt"; kill $pid $wm; exit 2; }
xprop -id "$w" WM_NAME | grep -qE '= ("")?$' || { echo "title not empty"; xprop -id "$w" WM_NAME; }
# The window manager's close command (Alt+F4 in its standard key bindings).
timeout 5 xdotool windowactivate --sync "$w"
xdotool key alt+F4
timeout 10 tail --pid=$pid -f /dev/null
kill $wm
wait $pid
echo "status $?"
INNER
chmod +x "$work/close.sh"
out=$(xvfb-run -a "$work/close.sh" "$work/course")
echo "$out"
grep -q "status 0" <<<"$out" || { echo "FAIL: expected status 0 after closing"; exit 1; }
grep -q "title not empty" <<<"$out" && { echo "FAIL: window title not empty"; exit 1; }
echo "1 passed, 0 failed"
