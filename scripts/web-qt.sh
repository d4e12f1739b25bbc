#!/usr/bin/env bash
# Qt for WebAssembly, built once from Debian's own Qt source with Debian's emscripten, and kept in
# a cache outside the source tree. Prints the installed prefix on its last line.
#
# Keyed like Qt for Windows (scripts/windows-qt.sh): the Qt version, the emscripten version and
# the configure line. The host's Qt of the same version lends its moc, rcc and uic.
#
#   LUMORA_QT_CACHE   where the builds are kept (default ~/.cache/lumora/qt-web)
#   scripts/web-qt.sh --emsdk    prints the emscripten folder Qt's tools expect ($EMSDK) instead
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${LUMORA_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumora/qt-web}

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
emversion=$(cat /usr/share/emscripten/emscripten-version.txt)

# Qt finds emscripten through an emsdk-shaped folder: a .emscripten file that names the
# emscripten root inside it, and there the compilers and the CMake platform file. Debian's
# emscripten lives in /usr/bin and /usr/share/emscripten, so the folder is made of links.
emsdk=$cache/emsdk-$emversion
if [ ! -f "$emsdk/.complete" ]; then
  rm -rf "$emsdk"
  mkdir -p "$emsdk/upstream/emscripten"
  echo "EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'" >"$emsdk/.emscripten"
  for tool in /usr/bin/em*; do ln -s "$tool" "$emsdk/upstream/emscripten/"; done
  ln -s /usr/share/emscripten/cmake /usr/share/emscripten/emranlib.py \
    "$emsdk/upstream/emscripten/"
  touch "$emsdk/.complete"
fi
if [ "${1:-}" = --emsdk ]; then
  echo "$emsdk"
  exit 0
fi

# Only what the course uses: Core, Gui, Widgets (of them plain widgets, buttons, labels and the
# message box), the wasm platform and the JPEG and GIF readers (scripts/qt-trim.sh). No threads
# (the course needs none, and a threaded build needs cross-origin isolation headers that a USB
# stick or a plain web server does not send), no network, no processes.
configure=(
  -platform wasm-emscripten -static -release -optimize-size -no-warnings-are-errors
  -nomake examples -nomake tests
  -no-feature-thread -no-feature-network -no-feature-sql -no-feature-testlib
  -no-feature-concurrent -no-feature-dbus -no-feature-xml -no-feature-printsupport
  -no-feature-zstd
  $("$root/scripts/qt-trim.sh")
  -qt-host-path /usr
)
key=$( { echo "$version"; echo "$emversion"; printf '%s\n' "${configure[@]}"; } \
  | sha256sum | cut -c1-12)
prefix=$cache/qt-${version%%+*}-$key

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work=$cache/work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work"
echo "Building Qt $version for WebAssembly into $prefix (about half an hour, once)" >&2
start=$(date +%s)
(
  cd "$work"
  apt-get source --download-only -qq "qt6-base=$version" >&2
  dpkg-source -x qt6-base_*.dsc src >&2
  mkdir build && cd build
  export EMSDK=$emsdk NODE_PATH=/usr/share/nodejs
  ../src/configure -prefix "$prefix" "${configure[@]}" -- \
    -G Ninja -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2
  cmake --build . --parallel >&2
  cmake --install . >&2
  # Linked into the course's program: the site carries Qt's licences with it.
  cp -r ../src/LICENSES "$prefix/LICENSES"
)
rm -rf "$work"
touch "$prefix/.complete"
echo "Qt for WebAssembly built in $(($(date +%s) - start)) s" >&2
echo "$prefix"
