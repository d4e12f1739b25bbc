#!/usr/bin/env bash
# The course in the browser, in headless Chromium (Debian's), driven by puppeteer-core from the
# lockfile here:
#
#   tests/web/run.sh test  BUILD WEB    the walk, the sweep, the animation, the failure report,
#                                       the single file and what screen readers find
#   tests/web/run.sh bench BUILD WEB    sizes and times, beside the desktop build's
#
# BUILD is the build for this machine (its course for the desktop's screenshots and verdicts),
# WEB the browser's (its site in WEB/site).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
what=$1
build=$(cd "$2" && pwd)
web=$(cd "$3" && pwd)

# The packages, exactly as the lockfile has them; installed again only when it changes.
stamp=$here/node_modules/.lumora-lock
if ! cmp -s "$here/package-lock.json" "$stamp" 2>/dev/null; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$here/package-lock.json" "$stamp"
fi

# The screenshots and the rest of a run stay in LUMORA_WEB_KEEP if it names a folder.
work=${LUMORA_WEB_KEEP:-}
if [ -n "$work" ]; then
  rm -rf "$work" && mkdir -p "$work"
else
  work=$(mktemp -d /tmp/lumora-web.XXXXXX)
  trap 'rm -rf "$work"' EXIT
fi
export LUMORA_BUILD=$build LUMORA_WEB=$web LUMORA_WORK=$work
export LUMORA_SOURCE=$(cd "$here/../.." && pwd)
case $what in
  test) node "$here/test.mjs" ;;
  bench) node "$here/bench.mjs" ;;
  *) echo "tests/web/run.sh: test or bench, not $what" >&2; exit 2 ;;
esac
