#!/usr/bin/env bash
# Installs what building, running and testing the course needs, where it is missing.
# Debian 12; uses apt-get, through sudo when not run as root.
#
#   scripts/setup.sh            the course for this machine
#   scripts/setup.sh windows    the same, and what the build for Windows and its tests under Wine
#                               need, with Debian's source packages (Qt is built from its source)
#   scripts/setup.sh web        the same, and what the build for the browser and its tests in
#                               headless Chromium need (Qt for WebAssembly is built from its source)
set -euo pipefail
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev libxcb1-dev libxcb-xkb-dev
  qt6-qpa-plugins
  libgif-dev
  fonts-arphic-uming fonts-arphic-ukai fonts-liberation2 fonts-noto-cjk
  libbenchmark-dev
  clang libclang-rt-dev
  xvfb openbox xdotool x11-utils imagemagick
  dpkg-dev file appstream desktop-file-utils clang-format
  python3-xlib weston qt6-wayland python3-pyatspi at-spi2-core dbus
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
  lintian
  libxxhash-dev qt6-translations-l10n
  libwayland-dev wayland-protocols sway
)

updated=""
case "${1:-}" in
  windows)
    packages+=(
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
      binutils-mingw-w64-x86-64 ninja-build nsis zip unzip wine wine64 xclip
    ) ;;
  web)
    packages+=(
      emscripten binaryen ninja-build zip unzip chromium python3-fonttools brotli
    ) ;;
esac
if [ -n "${1:-}" ]; then
  # `apt-get source` needs deb-src lines: Debian's own suites, as the binary packages come from.
  if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    . /etc/os-release
    echo "Adding deb-src lines for $VERSION_CODENAME"
    $sudo tee /etc/apt/sources.list.d/lumora-debian-src.sources >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME $VERSION_CODENAME-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $VERSION_CODENAME-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    $sudo apt-get update -qq
    updated=yes
  fi
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
[ -n "$updated" ] || $sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
