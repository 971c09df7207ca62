#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quorvex7 need, only those missing.
# Usage: scripts/deps.sh [run|test]   (run: what the program needs; test: that and the test tools)
set -euo pipefail

build_packages=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev libturbojpeg0-dev libjpeg62-turbo-dev
    libpng-dev libspng-dev libisal-dev libdeflate-dev libxcb1-dev libxcb-shm0-dev libxcb-shape0-dev libxcb-randr0-dev libxcb-xfixes0-dev libwayland-dev libwayland-bin wayland-protocols libdbus-1-dev libgtest-dev libbenchmark-dev fonts-dejavu-core)
test_packages=(clang-format xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick xclip openbox
    cups printer-driver-cups-pdf poppler-utils strace desktop-file-utils appstream lintian man-db dpkg-dev
    sway swaybg grim wtype wl-clipboard jq dbus dbus-bin pipewire xdg-desktop-portal xdg-desktop-portal-wlr
    xdg-desktop-portal-gtk python3-dbus python3-gi fuse3 clang libclang-rt-14-dev)
# The GNOME and KDE tests' desktops, without what they recommend (GNOME's alone would add a gigabyte);
# KDE's portal builds its dialog's QML even for a screenshot it asks nothing about.
desktop_packages=(gnome-shell xdg-desktop-portal-gnome dconf-service libglib2.0-bin kwin-wayland
    xdg-desktop-portal-kde plasma-wayland-protocols libkf5service-bin plasma-workspace qml-module-qtquick-layouts
    qml-module-qtquick-controls2 qml-module-org-kde-kirigami2)

wanted=("${build_packages[@]}")
lean=()
if [ "${1:-run}" = test ]; then
    wanted+=("${test_packages[@]}")
    lean=("${desktop_packages[@]}")
fi

missing_of() { # missing_of PACKAGE...: those not installed
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
    done
}
mapfile -t missing < <(missing_of "${wanted[@]}")
mapfile -t missing_lean < <(missing_of "${lean[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_lean[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]} ${missing_lean[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -q
[ ${#missing[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
[ ${#missing_lean[@]} -eq 0 ] \
    || DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing_lean[@]}"
