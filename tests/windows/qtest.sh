#!/usr/bin/env bash
# How CTest runs a test program built for Windows: under Wine, finding Qt's libraries in QT_BIN
# and the compiler's beside the course in COURSE_BIN. Without a console Qt Test on Windows writes
# its report to the debugger, so the report goes to a file and is shown from there.
#
#   qtest.sh QT_BIN COURSE_BIN PROGRAM [ARGUMENTS...]
set -u
qt_bin=$1 course_bin=$2
shift 2
report=$(mktemp)
trap 'rm -f "$report"' EXIT
# Wine keeps variables named QT_ from Windows programs (they are meant for Linux's Qt) and hands
# them on under its own prefix: QT_QPA_PLATFORM reaches the test as WINEQT_QPA_PLATFORM. Programs
# a test starts from the course folder find Qt's offscreen platform as well.
for name in $(compgen -e QT_); do export "WINE$name=${!name}"; done
export WINEQT_PLUGIN_PATH="$qt_bin/../plugins"
WINEPATH="$qt_bin;$course_bin" wine "$@" -o "$(winepath -w "$report"),txt"
status=$?
cat "$report"
exit "$status"
