#!/usr/bin/env bash
# The Windows build under Wine (make windows-test): in a private X session (Xvfb and openbox) and
# a private Wine prefix, with none of this machine's fonts in sight, so that the course shows the
# faces it ships with, as on a Windows without Traditional Chinese:
#   1. the Qt Test suites, as Windows programs (ctest --preset windows, on the offscreen platform);
#   2. blackbox.py: the portable folder's contents (Qt's translation among them), a walk of the
#      real lumora.exe by clicks compared page by page with the Linux build, the animation and
#      one Esc, the failure report from a folder with spaces and Chinese in its path (its button
#      確定), and the installer in and out: both Start-menu shortcuts, the second starting the
#      course full screen.
#
#   tests/windows/run.sh HOST_BUILD WINDOWS_BUILD      (build and build-windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
host=$(cd "${1:?host build}" && pwd)
windows=$(cd "${2:?windows build}" && pwd)

. "$root/tests/support/xsession.sh"
xsession_start 1280x1024
xsession_wm

export WINEDEBUG=-all WINEARCH=win64 WINEPREFIX=$xsession_dir/wine LANG=C.UTF-8 LC_ALL=C.UTF-8
# Wine's own processes end before the session's files go; the tests' status stands.
trap 'status=$?; set +e; wineserver --kill 2>/dev/null; xsession_cleanup; exit $status' EXIT
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko
# Wine finds a Linux machine's fonts through fontconfig; an empty configuration hides them all.
mkdir -p "$xsession_dir/fonts"
cat >"$xsession_dir/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>$xsession_dir/fonts</dir>
  <cachedir>$xsession_dir/fonts</cachedir>
</fontconfig>
CONF
export FONTCONFIG_FILE=$xsession_dir/fonts.conf

clock() { date +%s; }
start=$(clock)
wineboot --init >/dev/null 2>&1
# A program that crashes ends at once, instead of waiting in Wine's debugger.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
  >/dev/null 2>&1
wineserver --wait
echo "Wine prefix ready in $(($(clock) - start)) s"

# The suites as Windows programs (tests/windows/qtest.sh runs each under Wine).
start=$(clock)
ctest --test-dir "$windows" --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"
echo "Qt Test suites under Wine: $(($(clock) - start)) s"

start=$(clock)
python3 "$root/tests/windows/blackbox.py" "$host" "$windows"
echo "Black-box tests under Wine: $(($(clock) - start)) s"
