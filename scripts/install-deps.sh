#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the Debian package need, and
# only those missing.
# Safe to run again; uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libjpeg62-turbo-dev libpng-dev libgif-dev fonts-roboto-unhinted
    libgtest-dev libbenchmark-dev
    xvfb xauth xdotool xclip imagemagick python3
    binutils cc65 pasmo gcc-avr avr-libc binutils-avr sdcc
    clang libclang-rt-14-dev
    dpkg-dev file
    xfonts-utils pcf2bdf xfonts-base python3-freetype libfreetype-dev libfontconfig-dev
    fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
