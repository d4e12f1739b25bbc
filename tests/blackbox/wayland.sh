#!/usr/bin/env bash
# The course on Wayland: the walk over every way between pages (test_course) on Qt's wayland
# platform under a headless weston, with the protocol traced. One xdg_toplevel for the whole walk,
# its title empty to the eye, its app id the desktop entry's name.
#
#   wayland.sh TEST_COURSE APP_ID
#
# Exit status 77 (skipped) when weston or Qt's wayland platform is missing.
set -uo pipefail
test_course=$1 app_id=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$(dirname "$0")/../support/under_weston.sh" env WAYLAND_DEBUG=1 \
  "$test_course" everySwitchKeepsTheWindow >"$out/out" 2>"$out/trace"
status=$?
[ $status -eq 77 ] && { cat "$out/out"; exit 77; }
[ $status -eq 0 ] || grep -v '^\[' "$out/trace" | tail -n 20
grep -E '^(PASS|FAIL|Totals)' "$out/out"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ $status -eq 0 ] || fail "the walk failed on the wayland platform (status $status)"
toplevels=$(grep -c 'get_toplevel(' "$out/trace")
titles=$(grep -o 'xdg_toplevel@[0-9]*\.set_title("[^"]*")' "$out/trace" | sort -u)
ids=$(grep -o 'xdg_toplevel@[0-9]*\.set_app_id("[^"]*")' "$out/trace" | sort -u)
echo "xdg_toplevels: $toplevels; titles: ${titles:-none}; app ids: ${ids:-none}"
[ "$toplevels" -eq 1 ] || fail "$toplevels toplevel windows over the walk"
echo "$titles" | grep -qvE 'set_title\("[ ]*"\)' && fail "a title that shows: $titles"
[ "$(echo "$ids" | grep -c "\"$app_id\"")" -eq 1 ] && [ "$(echo "$ids" | wc -l)" -eq 1 ] ||
  fail "app id is not $app_id: $ids"
[ $failures -eq 0 ] && { echo "1 passed, 0 failed"; exit 0; }
echo "0 passed, 1 failed"; exit 1
