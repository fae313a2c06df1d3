#!/usr/bin/env bash
# Installs what Quillmar needs to build, test and run on Debian 12, and
# nothing when everything is there already. With the argument "windows", also
# what the Windows cross-build and its tests under Wine need.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev
    libwxgtk3.2-dev libcairo2-dev fonts-liberation
    # A font with CJK characters, which the listing's font lacks: the PDF
    # listing's tests check that they come from a font that has them.
    fonts-wqy-zenhei
    libpugixml-dev libtinyxml2-dev
    libcups2-dev
    xvfb xauth x11-utils xdotool imagemagick poppler-utils xdg-utils strace
    clang-14 libclang-rt-14-dev clang-format clang-tidy
    help2man librsvg2-bin dpkg-dev file lintian appstream desktop-file-utils
)
# Wine comes with what it recommends (its fonts and libraries among them).
# The Windows icon files are drawn from their SVG pictures with rsvg-convert
# and put together with ImageMagick.
windows_packages=(
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev librsvg2-bin
    wine wine64 xdotool nsis
)

missing_of() {
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
updated=""
install() {
    echo "Installing: $*"
    if [ -z "$updated" ]; then
        $sudo apt-get update -qq
        updated=yes
    fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@"
}

mapfile -t missing < <(missing_of "${packages[@]}")
if ((${#missing[@]})); then
    install --no-install-recommends "${missing[@]}"
fi

# dpkg can list a package as installed while a program of it has gone (a
# file removed by hand): such a package is installed again, so that no build
# leaves out what needs the program.
tools=(
    rsvg-convert:librsvg2-bin help2man:help2man xvfb-run:xvfb xdotool:xdotool
    import:imagemagick pdftotext:poppler-utils strace:strace clang-format:clang-format
    run-clang-tidy:clang-tidy lintian:lintian appstreamcli:appstream
    desktop-file-validate:desktop-file-utils dpkg-shlibdeps:dpkg-dev file:file
)
broken=()
for tool in "${tools[@]}"; do
    if ! command -v "${tool%%:*}" >/dev/null; then
        broken+=("${tool#*:}")
    fi
done
if ((${#broken[@]})); then
    install --no-install-recommends --reinstall "${broken[@]}"
fi
if [ "${1:-}" = windows ]; then
    mapfile -t missing < <(missing_of "${windows_packages[@]}")
    if ((${#missing[@]})); then
        install "${missing[@]}"
    fi
fi
