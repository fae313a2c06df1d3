#!/usr/bin/env bash
# Builds wxWidgets for Windows (static, mingw-w64) from Debian's own source
# package, with only what Quillmar uses, and keeps it in a cache folder
# outside the repository keyed by the source version, so that later runs on
# the same machine reuse it. Prints the folder holding bin/wx-config.
#
#   QUILLMAR_CACHE   where the cache lives (default ~/.cache/quillmar)
set -euo pipefail

host=x86_64-w64-mingw32
cache="${QUILLMAR_CACHE:-$HOME/.cache/quillmar}"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

# Source packages come from the same archive the machine already installs
# from: a deb-src twin of each binary entry.
enable_sources() {
    if apt-cache showsrc wxwidgets3.2 2>/dev/null | grep -q '^Version:'; then
        return
    fi
    local list=/etc/apt/sources.list.d/debian.sources
    if [ -f "$list" ]; then
        sed 's/^Types: deb$/Types: deb-src/' "$list" |
            $sudo tee /etc/apt/sources.list.d/quillmar-deb-src.sources >/dev/null
    else
        grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            $sudo tee /etc/apt/sources.list.d/quillmar-deb-src.list >/dev/null
    fi
    $sudo apt-get update -qq
}

enable_sources
version=$(apt-cache showsrc wxwidgets3.2 | sed -n 's/^Version: //p' | sort -V | tail -n 1)
if [ -z "$version" ]; then
    echo "No source package of wxwidgets3.2 is available" >&2
    exit 1
fi

# The name also carries the revision of the configuration below, so that a
# cache built with another configuration is not taken for this one.
config_revision=svg
root="$cache/wx-msw-$version-$config_revision"
prefix="$root/install"
if [ -f "$root/complete" ] && [ -x "$prefix/bin/wx-config" ]; then
    echo "$prefix"
    exit 0
fi

echo "Building wxWidgets $version for Windows into $root (once per machine)" >&2
rm -rf "$root"
mkdir -p "$root/source"
(
    cd "$root/source"
    # apt drops privileges for downloads; a root-owned folder makes it warn.
    apt-get source --download-only wxwidgets3.2="$version" >/dev/null 2>&1 ||
        apt-get source --download-only wxwidgets3.2="$version" >&2
    dpkg-source -x --no-check ./*.dsc wx >/dev/null
)

# The Debian source lacks the bundled image and XML libraries; Quillmar needs
# none of them. It keeps the bundled SVG rasterizer (nanosvg), from which the
# program draws its pictures. zlib comes from Debian's mingw-w64 package.
mkdir -p "$root/build"
(
    cd "$root/build"
    "$root/source/wx/configure" \
        --host="$host" --build="$("$root/source/wx/config.guess")" \
        CC="$host-gcc-posix" CXX="$host-g++-posix" \
        CXXFLAGS="-O2" CFLAGS="-O2" \
        --prefix="$prefix" \
        --disable-shared --with-msw --enable-unicode \
        --without-libpng --without-libjpeg --without-libtiff --with-zlib=sys \
        --without-expat --without-regex --without-opengl \
        --without-liblzma \
        --disable-webview --disable-mediactrl --disable-html --disable-htmlhelp \
        --disable-stc --disable-aui --disable-propgrid --disable-ribbon \
        --disable-richtext --disable-xrc --disable-webrequest \
        --disable-protocols --disable-url --disable-fs_inet --disable-dialupman \
        --disable-debugreport --disable-joystick --disable-sound \
        --disable-secretstore --disable-svg --disable-mdi --disable-docview \
        --disable-sockets --disable-ipc --disable-fswatcher \
        --disable-tests >"$root/configure.log" 2>&1 || {
        tail -n 40 "$root/configure.log" >&2
        exit 1
    }
    make -j "$(nproc)" >"$root/make.log" 2>&1 || {
        tail -n 40 "$root/make.log" >&2
        exit 1
    }
    make install >>"$root/make.log" 2>&1
)
rm -rf "$root/source" "$root/build"
touch "$root/complete"
echo "$prefix"
