#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quorvex7 need, only those missing.
# Usage: scripts/deps.sh [run|test]   (run: what the program needs; test: that and the test tools)
set -euo pipefail

build_packages=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev libturbojpeg0-dev libjpeg62-turbo-dev
    libpng-dev libspng-dev libxcb1-dev libxcb-shm0-dev libxcb-shape0-dev libwayland-dev libwayland-bin wayland-protocols libdbus-1-dev libgtest-dev libbenchmark-dev fonts-dejavu-core)
test_packages=(clang-format xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick xclip openbox
    cups printer-driver-cups-pdf poppler-utils strace desktop-file-utils appstream lintian man-db dpkg-dev
    sway swaybg grim wtype wl-clipboard jq dbus dbus-bin pipewire xdg-desktop-portal xdg-desktop-portal-wlr
    xdg-desktop-portal-gtk python3-dbus python3-gi fuse3
    clang libclang-rt-14-dev)

wanted=("${build_packages[@]}")
if [ "${1:-run}" = test ]; then
    wanted+=("${test_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
