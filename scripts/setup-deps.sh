#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Verbaro Tool need, but only
# those that are missing, so that a second run costs nothing. Usage: setup-deps.sh [extra packages]
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config
    libgtest-dev libgmock-dev
    qt6-base-dev qt6-qpa-plugins libgl-dev
    fonts-liberation2 fonts-wine fontconfig fonts-noto-core fonts-noto-cjk fonts-noto-color-emoji
    appstream desktop-file-utils dpkg-dev lintian
    libcsv-dev libxml2-dev libicu-dev
    xvfb openbox xdotool wmctrl x11-utils imagemagick
    sway wtype grim qt6-wayland
    clang clang-format clang-tidy jq shellcheck
    dbus-bin dbus-daemon at-spi2-core python3-pyatspi
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
