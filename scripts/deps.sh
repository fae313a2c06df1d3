#!/usr/bin/env bash
# Installs what Quillmar needs to build, test and run on Debian 12, and
# nothing when everything is there already.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev
    libwxgtk3.2-dev libcairo2-dev fonts-liberation
    libpugixml-dev libtinyxml2-dev
    xvfb xauth x11-utils imagemagick poppler-utils xdg-utils
    clang-14 libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
