#!/usr/bin/env bash
# Installs the Debian 12 packages NeloClock needs, only those that are missing.
#   scripts/deps.sh run    what building and running the program needs
#   scripts/deps.sh package  that, and what building and checking the .deb needs
#   scripts/deps.sh test   all of that, and what the test suite needs
set -euo pipefail

run_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-webengine-dev libqt6svg6
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
    fonts-wqy-microhei xdg-utils dbus-daemon
)
package_packages=(
    dpkg-dev file binutils desktop-file-utils appstream lintian
)
test_packages=(
    xvfb xauth x11-utils xdotool openbox trayer imagemagick
    pulseaudio pulseaudio-utils sox
    clang libclang-rt-14-dev
    libglib2.0-bin librsvg2-bin
    python3 python3-dbus python3-gi dbus-bin
)

packages=("${run_packages[@]}")
case "${1:-run}" in
    package) packages+=("${package_packages[@]}") ;;
    test) packages+=("${package_packages[@]}" "${test_packages[@]}") ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
