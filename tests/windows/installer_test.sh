#!/usr/bin/env bash
# Tests quillmar-VERSION-setup.exe under Wine as an administrator uses it, in
# a fresh Wine prefix of its own:
# - its version data;
# - a silent install for all users into Program Files: the files, the Start
#   menu entry, the uninstall key of Apps & features and the document type;
#   the installed quillmar-cli.exe checks the sample, the installed
#   quillmar.exe passes the smoke test; the silent uninstall leaves nothing
#   of Quillmar but the user's settings;
# - a silent install for the current user into a folder given with /D=; a
#   silent uninstall with /REMOVESETTINGS leaves nothing at all.
# Usage: installer_test.sh <setup.exe> <rate file> <output folder>
set -euo pipefail

setup=$(realpath "$1")
sample=$2
out=$(realpath -m "$3")

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

fail() {
    echo "FAILED: $*"
    exit 1
}

rm -rf "$out"
mkdir -p "$out"
export WINEPREFIX="$out/wine"
export WINEDEBUG=-all
# No prompts for Wine's .NET and browser add-ons, and no desktop menu entries
# made from the Start menu's shortcuts in the real user's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot --init >/dev/null 2>&1
wineserver -w
drive_c="$WINEPREFIX/drive_c"
trap 'wineserver -k 2>/dev/null || true' EXIT

# The installer's own version data.
resources=$(x86_64-w64-mingw32-windres -i "$setup" -O rc 2>/dev/null) || fail "no resources in $setup"
for pattern in '^ *FILEVERSION 3, 1, 0, 1$' '^ *PRODUCTVERSION 3, 1, 0, 1$' \
    'VALUE "ProductName", "Quillmar"' 'VALUE "CompanyName", "Veltrane Systems"' \
    'VALUE "ProductVersion", "3\.1\.0"'; do
    grep -qE "$pattern" <<<"$resources" || fail "the installer's version data lacks $pattern"
done
echo "installer: version 3.1.0.1 of Quillmar, Veltrane Systems"

# query KEY [VALUE]: the key's values (or the one value), empty when there is
# no such key.
query() {
    local text
    if [ $# -eq 2 ]; then
        text=$(wine reg query "$1" /v "$2" 2>/dev/null) || return 0
    else
        text=$(wine reg query "$1" 2>/dev/null) || return 0
    fi
    printf '%s\n' "$text" | tr -d '\r'
}
# data KEY VALUE: the value's data alone ("" for the default value).
data() {
    if [ -z "$2" ]; then
        query "$1" | sed -n 's/^ *(Default) *REG_[A-Z_]* *//p'
    else
        query "$1" "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
    fi
}
expect_data() { # KEY VALUE EXPECTED
    [ "$(data "$1" "$2")" = "$3" ] || fail "$1 ${2:-(Default)} is \"$(data "$1" "$2")\", not \"$3\""
}
windows_variable() { # NAME: its value in the Windows environment
    wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'
}
run_quietly() { # COMMAND LINE as the registry holds it: "C:\path\prog.exe" ARGS
    local exe=${1#\"}
    exe=${exe%%\"*}
    local args=${1#\""$exe"\"}
    # shellcheck disable=SC2086 # the arguments are words
    wine "$exe" $args
    # The uninstaller goes on in a copy of itself: wait for every process.
    wineserver -w
}

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmar'
settings='HKCU\Software\Veltrane\Quillmar'
type=Quillmar.Document

# installed ROOT FOLDER (a Windows path) START_MENU (a Unix path): checks an
# installation for all users (ROOT HKLM) or the current user (HKCU).
installed() {
    local root=$1 folder=$2 menu=$3
    local unix
    unix=$(winepath -u "$folder" 2>/dev/null)
    for file in quillmar.exe quillmar-cli.exe uninstall.exe; do
        [ -f "$unix/$file" ] || fail "$folder\\$file was not installed"
    done
    [ -f "$menu/Quillmar.lnk" ] || fail "no Start menu entry \"Quillmar\" in $menu"

    local key="$root\\$uninstall_key"
    expect_data "$key" DisplayName Quillmar
    expect_data "$key" DisplayVersion 3.1.0
    expect_data "$key" Publisher "Veltrane Systems"
    expect_data "$key" DisplayIcon "$folder\\quillmar.exe,0"
    expect_data "$key" InstallLocation "$folder"
    local size
    size=$(data "$key" EstimatedSize)
    if [ -z "$size" ] || [ $((size)) -le 1000 ]; then
        fail "EstimatedSize is \"$size\" (KB)"
    fi
    local mode=/AllUsers
    [ "$root" = HKLM ] || mode=/CurrentUser
    expect_data "$key" UninstallString "\"$folder\\uninstall.exe\" $mode"
    expect_data "$key" QuietUninstallString "\"$folder\\uninstall.exe\" /S $mode"

    local classes="$root\\Software\\Classes"
    expect_data "$classes\\$type" "" "Rate Document"
    expect_data "$classes\\$type\\DefaultIcon" "" "$folder\\quillmar.exe,-129"
    expect_data "$classes\\$type\\shell\\open\\command" "" "\"$folder\\quillmar.exe\" \"%1\""
    expect_data "$classes\\$type\\shell\\print\\command" "" "\"$folder\\quillmar.exe\" /p \"%1\""
    expect_data "$classes\\$type\\shell\\printto\\command" "" \
        "\"$folder\\quillmar.exe\" /pt \"%1\" \"%2\" \"%3\" \"%4\""
    echo "installed in $folder: files, Start menu entry, $root uninstall key, $type"

    local checked
    checked=$(wine "$unix/quillmar-cli.exe" check "$sample" | tr -d '\r')
    [ "$checked" = "RATEFILE: 5 customers, 9 plans" ] || fail "quillmar-cli.exe check printed \"$checked\""
    echo "installed quillmar-cli.exe check: $checked"
}

# uninstalled ROOT FOLDER START_MENU SETTINGS_KEPT: nothing of Quillmar is
# left in the folder, the Start menu or the registry, but the settings when
# they were kept.
uninstalled() {
    local root=$1 folder=$2 menu=$3 kept=$4
    local unix
    unix=$(winepath -u "$folder" 2>/dev/null)
    [ ! -e "$unix" ] || fail "$folder is left: $(ls "$unix")"
    [ ! -e "$menu/Quillmar.lnk" ] || fail "the Start menu entry is left"
    [ -z "$(query "$root\\$uninstall_key")" ] || fail "the uninstall key is left"
    for classes in 'HKLM\Software\Classes' 'HKCU\Software\Classes'; do
        [ -z "$(query "$classes\\$type")" ] || fail "$classes\\$type is left"
        [ "$(data "$classes\\.xml" "")" != "$type" ] || fail "$classes\\.xml still names $type"
    done
    if [ "$kept" = yes ]; then
        [ -n "$(query "$settings\\Settings")" ] || fail "the settings were not kept"
    else
        [ -z "$(query "$settings")" ] || fail "the settings were not removed"
        [ -z "$(query 'HKCU\Software\Veltrane')" ] || fail "the empty vendor key is left"
    fi
    # Nothing else anywhere in the registry (whose export names the current
    # user's hive by the user's SID) or on drive C:.
    wine regedit /E "C:\\registry.reg" >/dev/null 2>&1
    local left
    left=$(iconv -f UTF-16LE -t UTF-8 "$drive_c/registry.reg" | tr -d '\r' |
        awk '/^\[/ { key = $0 } tolower($0) ~ /quillmar/ { print key ": " $0 }' |
        grep -vE '^\[HKEY_(CURRENT_USER|USERS\\[^\\]*)\\Software\\Veltrane\\Quillmar[]\\]' || true)
    rm -f "$drive_c/registry.reg"
    [ -z "$left" ] || fail "the registry still holds: $left"
    left=$(find "$drive_c" -iname '*quillmar*' | grep -v '/users/[^/]*/Temp/' || true)
    [ -z "$left" ] || fail "drive C: still holds: $left"
    echo "uninstalled: nothing of Quillmar left$([ "$kept" = yes ] && echo " but the settings")"
}

# What claimed ".xml" before: the installer takes it only when nothing did.
xml_before=$(data 'HKLM\Software\Classes\.xml' "")

# 1. For all users, silently, into Program Files.
wine "$setup" /S
wineserver -w
program_files=$(windows_variable ProgramFiles)
common_menu="$(winepath -u "$(windows_variable ProgramData)")/Microsoft/Windows/Start Menu/Programs"
installed HKLM "$program_files\\Quillmar" "$common_menu"
if [ -z "$xml_before" ]; then
    expect_data 'HKLM\Software\Classes\.xml' "" "$type"
else
    expect_data 'HKLM\Software\Classes\.xml' "" "$xml_before"
fi
timeout 300 bash "$(dirname "$0")/smoke_test.sh" "$(winepath -u "$program_files\\Quillmar\\quillmar.exe")" \
    "$sample" "$out/smoke"
# The smoke test has left settings and the user's own registration.
wine "$(winepath -u "$program_files\\Quillmar\\quillmar.exe")" "$sample" &
started=$!
for _ in $(seq 1 100); do
    [ -n "$(query "HKCU\\Software\\Classes\\$type")" ] && break
    sleep 0.2
done
# A program still starting up when the server goes may start a server of its
# own: it is ended by its process too.
wineserver -k 2>/dev/null || true
kill "$started" 2>/dev/null || true
wait "$started" 2>/dev/null || true
[ -n "$(query "HKCU\\Software\\Classes\\$type")" ] || fail "the program did not register itself at start"
run_quietly "$(data "HKLM\\$uninstall_key" QuietUninstallString)"
uninstalled HKLM "$program_files\\Quillmar" "$common_menu" yes

# 2. For the current user, silently, into a folder of the administrator's
# choice; the uninstall removes the settings too.
# (No blank in it: wine quotes an argument with blanks, and NSIS reads /D=
# only unquoted.)
folder='C:\RateTools\Quillmar'
wine "$setup" /S /CurrentUser "/D=$folder"
wineserver -w
user_menu="$(winepath -u "$(windows_variable APPDATA)")/Microsoft/Windows/Start Menu/Programs"
installed HKCU "$folder" "$user_menu"
[ -z "$(query "HKLM\\$uninstall_key")" ] || fail "a per-user install wrote the machine's uninstall key"
run_quietly "$(data "HKCU\\$uninstall_key" QuietUninstallString) /REMOVESETTINGS"
uninstalled HKCU "$folder" "$user_menu" no
echo "installer: installed, ran and uninstalled cleanly, for all users and for one"
