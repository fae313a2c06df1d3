#!/usr/bin/env bash
# Starts the real program on a rate file, waits until its window shows the
# tree, takes a screenshot of the window, and closes the program.
# Usage: smoke_test.sh <quillmar> <rate file> <output folder>
set -euo pipefail

program=$1
file=$2
out=$3

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x900x24 -noreset" "$0" "$@"
fi

mkdir -p "$out"
shot="$out/quillmar-smoke.png"
rm -f "$shot"
settings=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$settings"
}
trap cleanup EXIT

# Settings and desktop files of the run stay in a folder of its own.
XDG_CONFIG_HOME="$settings/config" XDG_DATA_HOME="$settings/data" "$program" "$file" &
pid=$!
title="$(basename "$file") - Quillmar"

# Waits, for at most 30 seconds, until the window is there and its tree's
# red item image has been painted.
shown=no
for _ in $(seq 1 300); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the program ended before its window showed"
        exit 1
    fi
    if timeout 5 xwininfo -root -tree | grep -q "\"$title\""; then
        if timeout 5 import -window "$title" "$shot" 2>/dev/null &&
            convert "$shot" -format %c histogram:info:- | grep -qi "#FF0000"; then
            shown=yes
            break
        fi
    fi
    sleep 0.1
done
if [ "$shown" != yes ]; then
    echo "no window \"$title\" with the tree appeared"
    exit 1
fi

# The window is as large as a desktop window and not blank.
read -r width height < <(identify -format "%w %h\n" "$shot")
if [ "$width" -lt 600 ] || [ "$height" -lt 400 ]; then
    echo "the window is only ${width}x${height}"
    exit 1
fi
colours=$(convert "$shot" -format %k info:)
if [ "$colours" -lt 16 ]; then
    echo "the window looks blank ($colours colours)"
    exit 1
fi
echo "screenshot: $shot (${width}x${height}, $colours colours)"

kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
