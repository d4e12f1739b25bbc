#!/usr/bin/env bash
# What the real programs say to a teacher or an administrator at a terminal:
#  - lumora --help and --version answer on standard output with status 0, with no display at
#    all, and the help names --full-screen, F11 and Esc; --full-screen and -f are taken; an
#    argument nobody knows gets one line on standard error and status 2;
#  - Qt's own options still reach Qt: -platform offscreen runs without a display, -display
#    puts the window on the X server named;
#  - with no display to open, lumora and 7optical.exe say so in one line on standard error,
#    naming the variables tried, and end with status 1, no core dumped;
#  - on a bare X server (no window manager, no other client, as started by xinit) the course
#    opens its window every time;
#  - with no installed font covering Traditional Chinese the course names the Debian packages
#    that bring them in one line on standard error, and goes on.
#
#   terminal.sh COURSE_FOLDER VERSION
#
# Exit status 0 passed, 1 failed, 77 skipped (Xvfb or xdotool missing).
set -u
bin=$(cd "${1:?course folder}" && pwd) version=${2:?version}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
done
. "$(dirname "$0")/../support/xsession.sh"
out=$(mktemp -d)
trap 'xsession_cleanup; rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Runs a program with neither display variable, in a folder of its own; sets status, and the
# files $out/stdout and $out/stderr.
bare() {
  (cd "$out" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@") \
    >"$out/stdout" 2>"$out/stderr"
  status=$?
}
lines() { grep -c '' "$1"; }
# The same in the background; sets course to its process.
bare_in_background() {
  (cd "$out" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@") \
    >"$out/stdout" 2>"$out/stderr" &
  course=$!
}
runs() { xsession_running "$course"; }
ended() { ! runs; }
window() { [ -n "$(xsession_window_of "$course")" ] || ended; }
stop() { kill "$course" 2>/dev/null; wait "$course" 2>/dev/null; }

bare "$bin/lumora" --version
[ $status -eq 0 ] && [ "$(cat "$out/stdout")" = "lumora $version" ] && [ ! -s "$out/stderr" ] ||
  fail "--version: status $status, '$(cat "$out/stdout" "$out/stderr")'"
echo "lumora --version: $(cat "$out/stdout"), status $status"
for help in --help -h; do
  bare "$bin/lumora" $help
  # Where a teacher looks for full screen: the option and the keys.
  [ $status -eq 0 ] && grep -q -- --version "$out/stdout" && grep -q -- --full-screen "$out/stdout" &&
    grep -q F11 "$out/stdout" && grep -q Esc "$out/stdout" && [ ! -s "$out/stderr" ] ||
    fail "$help: status $status, '$(cat "$out/stdout" "$out/stderr")'"
done
echo "lumora --help: $(lines "$out/stdout") lines, status $status"
# The full-screen option is taken (here the display is missing), an unknown one beside it is not.
for option in --full-screen -f; do
  bare "$bin/lumora" $option
  [ $status -eq 1 ] && grep -q DISPLAY "$out/stderr" ||
    fail "$option without a display: status $status, '$(cat "$out/stderr")'"
done
bare "$bin/lumora" --full-screen --bogus
[ $status -eq 2 ] && grep -q -- --bogus "$out/stderr" ||
  fail "--full-screen --bogus: status $status, '$(cat "$out/stderr")'"
echo "lumora --full-screen, -f: taken; beside --bogus: status $status"
for wrong in --bogus -x extra --fullscreen -full-screen; do
  bare "$bin/lumora" $wrong
  [ $status -eq 2 ] && [ "$(lines "$out/stderr")" -eq 1 ] && [ ! -s "$out/stdout" ] &&
    grep -q -- "$wrong" "$out/stderr" || fail "$wrong: status $status, '$(cat "$out/stderr")'"
done
echo "lumora extra: status $status, $(cat "$out/stderr")"

# No display: one line, the variables named, status 1, no core.
for program in lumora 7optical.exe; do
  bare "$bin/$program"
  [ $status -eq 1 ] && [ "$(lines "$out/stderr")" -eq 1 ] && grep -q 'DISPLAY' "$out/stderr" &&
    grep -q 'WAYLAND_DISPLAY' "$out/stderr" || fail "$program without a display: status $status," \
    "'$(cat "$out/stderr")'"
  echo "$program without a display: status $status, $(cat "$out/stderr")"
  bare env DISPLAY=:65000 "$bin/$program"
  [ $status -eq 1 ] && grep -q 'DISPLAY=:65000' "$out/stderr" ||
    fail "$program with a display nobody serves: status $status, '$(cat "$out/stderr")'"
done

# Qt's own options.
bare_in_background "$bin/lumora" -platform offscreen
# Still running two seconds on, or it has said why not.
xsession_within 2 ended
runs && echo "lumora -platform offscreen: running without a display" ||
  fail "-platform offscreen: ended with '$(cat "$out/stderr")'"
stop

# A bare X server, which resets when its last client leaves: the course is its first client,
# and Qt's connection must not meet a reset. Ten fresh servers, one after the other.
opened=0
for _ in $(seq 10); do
  (
    trap xsession_cleanup EXIT
    XSESSION_RESET=yes xsession_start
    # Clients of the server are counted by its sockets, without connecting: a client of the
    # test that left before the course came would make the server reset as well.
    server_sockets() { ls -l "/proc/${xsession_pids[0]}/fd" 2>/dev/null | grep -c socket:; }
    alone=$(server_sockets)
    bare_in_background "$bin/lumora" -display "$DISPLAY"
    connected() { [ "$(server_sockets)" -gt "$alone" ] || ended; }
    xsession_within 30 connected && xsession_within 30 window && runs &&
      [ -n "$(xsession_window_of "$course")" ]
    shown=$?
    stop
    [ $shown -eq 0 ] || cp "$out/stderr" "$out/failed"
    exit $shown
  ) && opened=$((opened + 1))
done
[ $opened -eq 10 ] || fail "the course opened its window $opened times of 10 on a bare X server" \
  "('$(cat "$out/failed")')"
echo "lumora -display on a bare X server: its window $opened times of 10"
xsession_start
server=$DISPLAY

# No font for Chinese: only DejaVu is seen.
cat >"$out/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$out/fontcache</cachedir>
</fontconfig>
EOF
bare_in_background env FONTCONFIG_FILE="$out/fonts.conf" "$bin/lumora" -display "$server"
said() { grep -q fonts- "$out/stderr"; }
xsession_within 30 said
xsession_within 30 window
if runs && [ -n "$(xsession_window_of "$course")" ] && [ "$(lines "$out/stderr")" -eq 1 ] &&
  grep -q fonts-arphic-uming "$out/stderr" && grep -q fonts-arphic-ukai "$out/stderr"; then
  echo "no Chinese font: $(cat "$out/stderr"); the course goes on"
else
  fail "no Chinese font: '$(cat "$out/stderr")', $(runs && echo running || echo ended)"
fi
stop

[ $failures -eq 0 ] && { echo "all checks passed"; exit 0; }
echo "$failures check(s) failed"
exit 1
