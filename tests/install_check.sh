#!/usr/bin/env bash
# Installs the build into a temporary prefix as "cmake --install" does and
# checks what a Linux desktop gets: both programs, their manual pages (which
# man can read), the desktop entry, the icons and the AppStream metainfo.
# Usage: install_check.sh <build folder>
set -euo pipefail

build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
for path in bin/quillmar bin/quillmar-cli \
    share/man/man1/quillmar.1.gz share/man/man1/quillmar-cli.1.gz \
    share/applications/quillmar.desktop \
    share/icons/hicolor/scalable/apps/quillmar.svg \
    share/icons/hicolor/48x48/apps/quillmar.png \
    share/metainfo/io.github.veltrane.Quillmar.metainfo.xml; do
    if [ ! -s "$prefix/$path" ]; then
        echo "not installed: $path"
        status=1
    fi
done
# Each page names its program, has a synopsis of every form of the command
# line, and describes the options.
for program in quillmar quillmar-cli; do
    page=$(zcat "$prefix/share/man/man1/$program.1.gz")
    for section in NAME SYNOPSIS DESCRIPTION; do
        if ! grep -q "^\.SH $section" <<<"$page"; then
            echo "$program.1 has no $section"
            status=1
        fi
    done
    forms=$("$prefix/bin/$program" --help | sed -n '1,/^$/p' | grep -c "$program")
    listed=$(sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p' <<<"$page" | grep -cx "\.B $program")
    if [ "$listed" -ne "$forms" ]; then
        echo "$program.1 lists $listed forms of the command line, --help $forms"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "installed: programs, manual pages, desktop entry, icons, metainfo"
exit "$status"
