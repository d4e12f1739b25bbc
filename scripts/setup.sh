#!/usr/bin/env bash
# Installs what building, running and testing the course needs, where it is missing.
# Debian 12; uses apt-get, through sudo when not run as root.
set -euo pipefail

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
  libxxhash-dev
  libwayland-dev wayland-protocols sway
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
