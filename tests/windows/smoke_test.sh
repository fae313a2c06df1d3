#!/usr/bin/env bash
# Starts quillmar.exe under Wine on a rate file and checks what a Windows
# user would see: the window and its title, the two save options toggled from
# the Edit menu and kept in the registry, the shell registration made at
# start-up and removed by /Unregister and /Unregserver, the recent-file list
# written at exit, and the print switches while no printer is set up. Leaves
# a screenshot in the output folder.
# Usage: smoke_test.sh <quillmar.exe> <rate file> <output folder>
# Runs in the Wine prefix of WINEPREFIX.
set -euo pipefail

program=$(realpath "$1")
file=$2
out=$3

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

export WINEDEBUG=-all
# A Wine session started earlier without this display (by console programs)
# would put the windows on no screen at all: this run starts its own.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
mkdir -p "$out"
shot="$out/quillmar-windows.png"
rm -f "$shot"

fail() {
    echo "FAILED: $*"
    exit 1
}

settings='HKCU\Software\Veltrane\Quillmar'
classes='HKCU\Software\Classes'
# query KEY [VALUE]: prints the key's values (or the one value); empty when
# there is no such key (Wine's reg prints its errors on standard output).
query() {
    local text
    if [ $# -eq 2 ]; then
        text=$(wine reg query "$1" /v "$2" 2>/dev/null) || return 0
    else
        text=$(wine reg query "$1" 2>/dev/null) || return 0
    fi
    printf '%s\n' "$text" | tr -d '\r'
}
expect_value() { # KEY VALUE TYPE DATA
    query "$1" "$2" | grep -qE "^\s+$2\s+$3\s+$4\s*$" ||
        fail "$1 $2 is not $3 $4: $(query "$1" "$2" | grep -E "^\s+$2" || echo missing)"
}
expect_default() { # KEY DATA (a fixed text)
    query "$1" | grep -qF "(Default)    REG_SZ    $2" ||
        fail "the default value of $1 is not \"$2\""
}

# A clean start: no settings and no registration from an earlier run.
for key in "$settings" "$classes\\Quillmar.Document" "$classes\\.xml"; do
    wine reg delete "$key" /f >/dev/null 2>&1 || true
done

pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
    fi
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

wine "$program" "$file" &
pid=$!
title="$(basename "$file") - Quillmar"

# Waits, for at most 60 seconds, until the window is there and its tree's
# red item image has been painted.
window=""
for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window showed"
    window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$window" ] && import -window root "$shot" 2>/dev/null &&
        convert "$shot" -format %c histogram:info:- | grep -qi "#FF0000"; then
        break
    fi
    window=""
    sleep 0.2
done
[ -n "$window" ] || fail "no window \"$title\" with the tree appeared"
echo "window: \"$title\""

# Start-up registered the document type for the user.
expect_default "$classes\\Quillmar.Document" "Rate Document"
expect_default "$classes\\.xml" "Quillmar.Document"
query "$classes\\Quillmar.Document\\DefaultIcon" | grep -qiF 'quillmar.exe,-129' ||
    fail "the document type's icon is not the executable's document icon"
for verb in open print printto; do
    query "$classes\\Quillmar.Document\\shell\\$verb\\command" | grep -qiF 'quillmar.exe"' ||
        fail "no $verb command is registered"
done
query "$classes\\Quillmar.Document\\shell\\print\\command" | grep -qF '/p "%1"' ||
    fail "the print command does not pass /p and the file"
echo "registered: Quillmar.Document, .xml"

# Both options from the Edit menu: "Compressed XML Save" by its mnemonic,
# "Auto-Backup Saved Files" five items up from the menu's end (past Go To,
# Find Previous, Find Next and Find). Each is stored at once.
xdotool windowfocus "$window" 2>/dev/null || true
sleep 0.5
xdotool key alt+e
sleep 0.5
xdotool key o
sleep 0.5
xdotool key alt+e
sleep 0.5
xdotool key Up Up Up Up Up Return
for _ in $(seq 1 50); do
    if query "$settings\\Settings" | grep -q AutoBackup; then
        break
    fi
    sleep 0.2
done
expect_value "$settings\\Settings" Compression REG_DWORD 0x1
expect_value "$settings\\Settings" AutoBackup REG_DWORD 0x0
echo "options: Compression 1, AutoBackup 0"

# The whole tree opened from its root ("*" on the keypad) and a customer's
# name selected, for the screenshot.
xdotool mousemove --window "$window" 61 54 click 1
sleep 0.5
xdotool key KP_Multiply
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Down
sleep 1
import -window root "$shot"

# File, Exit: nothing was changed, so the program ends without a question
# and writes the recent-file list.
xdotool key alt+f
sleep 0.5
xdotool key x
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
! kill -0 "$pid" 2>/dev/null || fail "File, Exit did not end the program"
pid=""
query "$settings\\Recent File List" "File1" | grep -qi "$(basename "$file")" ||
    fail "the recent-file list does not hold $(basename "$file")"
echo "recent files: $(query "$settings\\Recent File List" File1 | grep File1 | sed 's/.*REG_SZ *//')"

# /Unregister with /Embedding removes the registration without a message.
wine "$program" /Unregister /Embedding
[ -z "$(query "$classes\\Quillmar.Document")" ] || fail "/Unregister left Quillmar.Document"
[ -z "$(query "$classes\\.xml")" ] || fail "/Unregister left the .xml binding"
echo "unregistered"

# Another program's ".xml" binding survives registration and removal.
wine reg add "$classes\\.xml" /ve /d "OtherEditor.Document" /f >/dev/null
wine "$program" /Unregserver &
pid=$!
# /Unregserver alone tells the user in a message box; its OK button (the
# bottom right one) closes it. Keys may miss a box that has not yet taken
# the focus, so the button is clicked, again until the program ends.
seen=no
for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    box=$(xdotool search --name "^Quillmar\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$box" ]; then
        seen=yes
        geometry=$(xdotool getwindowgeometry --shell "$box" 2>/dev/null) || continue
        eval "$geometry"
        xdotool mousemove --window "$box" $((WIDTH - 40)) $((HEIGHT - 16)) click 1 || true
    fi
    sleep 0.2
done
[ "$seen" = yes ] || fail "/Unregserver showed no message"
! kill -0 "$pid" 2>/dev/null || fail "the message of /Unregserver could not be closed"
wait "$pid" || fail "/Unregserver did not end cleanly"
pid=""
expect_default "$classes\\.xml" "OtherEditor.Document"
echo "/Unregserver: message shown, another program's .xml binding kept"

# The print switches while no printer is set up (nor a print server to find
# one): "Could not start print job." in a message box, closed with its OK
# button, and a failure status instead of a wait for ever. The time-out only
# turns such a wait into a failure.
export CUPS_SERVER="$out/no-cups-server"
for switch in p pt; do
    if [ "$switch" = p ]; then
        timeout 60 wine "$program" /p "$file" &
    else
        timeout 60 wine "$program" /pt "$file" NoSuchPrinter &
    fi
    pid=$!
    seen=no
    for _ in $(seq 1 150); do
        kill -0 "$pid" 2>/dev/null || break
        box=$(xdotool search --name "^Quillmar\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$box" ]; then
            seen=yes
            geometry=$(xdotool getwindowgeometry --shell "$box" 2>/dev/null) || continue
            eval "$geometry"
            xdotool mousemove --window "$box" $((WIDTH - 40)) $((HEIGHT - 16)) click 1 || true
        fi
        sleep 0.2
    done
    [ "$seen" = yes ] || fail "/$switch without a printer showed no message"
    status=0
    wait "$pid" || status=$?
    pid=""
    [ "$status" -ne 0 ] && [ "$status" -ne 124 ] ||
        fail "/$switch without a printer ended with status $status"
    echo "/$switch without a printer: message shown, status $status"
done

echo "screenshot: $shot"
