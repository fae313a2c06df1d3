#!/usr/bin/env bash
# Prints from the command line while no printer is set up: "-p" (the default
# printer) and "-pt" with a printer that does not exist, on a display and
# without one. Each run must say that the print job could not start (in its
# message box when there is a display, and on standard error) and end with a
# failure status. The time-out only turns a run that waits for ever into a
# failure.
# Usage: print_without_printer_test.sh <quillmar> <rate file> <output folder>
set -euo pipefail

program=$1
file=$2
out=$3

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x900x24 -noreset" "$0" "$@"
fi

mkdir -p "$out"
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

# No print server, whatever this machine has: CUPS, and GTK's printing
# through it, look for the server here.
export CUPS_SERVER="$settings/no-cups-server"
export XDG_CONFIG_HOME="$settings/config" XDG_DATA_HOME="$settings/data"
message="quillmar: Could not start print job."
failed=0

# Runs the program with the arguments given; answers its message box, if one
# shows, with Return; checks the status and standard error.
check_run() {
    local name=$1 display=$2
    shift 2
    local err="$out/$name.stderr"
    rm -f "$out/$name.png"
    DISPLAY=$display timeout 60 "$program" "$@" 2>"$err" &
    pid=$!
    local box=""
    if [ -n "$display" ]; then
        for _ in $(seq 1 300); do
            if ! kill -0 "$pid" 2>/dev/null; then
                break
            fi
            box=$(xdotool search --onlyvisible --name '^Quillmar$' 2>/dev/null | head -n 1 || true)
            if [ -n "$box" ]; then
                sleep 0.5
                import -window root "$out/$name.png" 2>/dev/null || true
                xdotool windowfocus --sync "$box" key Return
                break
            fi
            sleep 0.1
        done
    fi
    local status=0
    wait "$pid" || status=$?
    pid=""
    if [ "$status" -eq 124 ]; then
        echo "$name: still printing after 60 seconds"
        failed=1
    elif [ "$status" -eq 0 ]; then
        echo "$name: ended with status 0"
        failed=1
    fi
    if [ -n "$display" ] && [ -z "$box" ]; then
        echo "$name: no message box appeared"
        failed=1
    fi
    if ! grep -qxF "$message" "$err"; then
        echo "$name: standard error lacks \"$message\":"
        cat "$err"
        failed=1
    fi
    echo "$name: status $status"
}

check_run default-printer "$DISPLAY" -p "$file"
check_run named-printer "$DISPLAY" -pt "$file" NoSuchPrinter
check_run without-display "" -p "$file"
exit "$failed"
