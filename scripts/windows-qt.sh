#!/usr/bin/env bash
# Qt for Windows, cross-built once from Debian's own Qt source with MinGW-w64, and kept in a
# cache outside the source tree. Prints the installed prefix on its last line.
#
# The cache is keyed by the Qt version and the configure line: unchanged, the build is reused;
# changed, it is built again beside the old one. The host's Qt of the same version lends its
# moc, rcc and uic (QT_HOST_PATH), so no Qt tool is built for Windows.
#
#   LUMORA_QT_CACHE   where the builds are kept (default ~/.cache/lumora/qt-windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${LUMORA_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumora/qt-windows}

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
toolchain=$root/cmake/mingw-w64.cmake

# Only the modules and features the course and its tests use (scripts/qt-trim.sh). Debian's
# source lacks the Wintab headers, hence no tablet events; DirectWrite 3 needs them too, and
# Direct2D is not used.
configure=(
  -release -shared -nomake examples -nomake tests -no-pkg-config
  -xplatform win32-g++
  -no-opengl -no-dbus -no-icu -no-feature-vulkan
  -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -no-feature-zstd
  -no-feature-sql -no-feature-network -no-feature-printsupport -no-feature-xml
  -no-feature-concurrent
  -no-feature-tabletevent -no-feature-direct2d -no-feature-directwrite3
  $("$root/scripts/qt-trim.sh")
  -qt-host-path /usr
)
key=$( { echo "$version"; printf '%s\n' "${configure[@]}"; cat "$toolchain"; } \
  | sha256sum | cut -c1-12)
prefix=$cache/qt-${version%%+*}-$key

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work=$cache/work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work"
echo "Building Qt $version for Windows into $prefix (about half an hour, once)" >&2
(
  cd "$work"
  apt-get source --download-only -qq "qt6-base=$version" >&2
  dpkg-source -x qt6-base_*.dsc src >&2
  mkdir build && cd build
  ../src/configure -prefix "$prefix" "${configure[@]}" -- \
    -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2
  cmake --build . --parallel >&2
  cmake --install . >&2
)
rm -rf "$work"
touch "$prefix/.complete"
echo "$prefix"
