#!/usr/bin/env bash
# Runs quillmar-cli.exe under Wine and the Linux quillmar-cli on the same
# inputs and checks that both give the same results: exit status, standard
# output and every file written, byte for byte, and the same messages
# (Windows ends their lines with CR LF on its console).
# Usage: cli_compare.sh <linux quillmar-cli> <quillmar-cli.exe>
set -euo pipefail

linux=$(realpath "$1")
windows=$(realpath "$2")
samples=$(realpath "$(dirname "$0")/../../samples")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The inputs every case starts from.
inputs="$work/inputs"
mkdir -p "$inputs"
cp "$samples/rates.xml" "$samples/rates-new.xml" "$inputs/"
cp "$samples/rates.xml" "$inputs/café rates.xml"
cp "$samples/rates-new.xml" "$inputs/料金 новые.xml"
printf '<?xml version="1.0"?>\r\n<RATEFILE>\r\n<CUSTOMER><CONTRACTNUM>1' >"$inputs/damaged.xml"
printf '<?xml version="1.0"?>\n<OTHER><CUSTOMER/></OTHER>\n' >"$inputs/other.xml"

failures=0
cases=0
# compare NAME ARGS...: runs both tools with ARGS in copies of the inputs.
compare() {
    local name=$1
    shift
    cases=$((cases + 1))
    local folder="$work/$name"
    for side in linux windows; do
        mkdir -p "$folder/$side"
        cp "$inputs"/* "$folder/$side/"
    done
    local status=0
    (cd "$folder/linux" && "$linux" "$@" >stdout 2>stderr) || status=$?
    echo "$status" >"$folder/linux/status"
    status=0
    (cd "$folder/windows" && wine "$windows" "$@" >stdout 2>stderr) || status=$?
    echo "$status" >"$folder/windows/status"
    sed -i 's/\r$//' "$folder/windows/stderr"
    # A backup's name carries the time of the copy, which differs by a
    # second now and then between the two runs.
    for side in linux windows; do
        for backup in "$folder/$side"/rates-[0-9]*-[0-9]*.xml; do
            [ -e "$backup" ] && mv "$backup" "$folder/$side/backup.xml"
        done
    done
    if diff -r "$folder/linux" "$folder/windows" >"$folder/diff" 2>&1; then
        echo "same: $name ($*)"
    else
        echo "DIFFERENT: $name ($*)"
        head -n 40 "$folder/diff"
        failures=$((failures + 1))
    fi
}

compare version --version
compare help --help
compare usage merge rates.xml
compare check check rates.xml
compare check-new check rates-new.xml
compare check-damaged check damaged.xml
compare check-other-root check other.xml
compare check-missing check missing.xml
compare tree tree rates.xml
compare tree-new tree rates-new.xml
compare format format rates.xml
compare format-compressed format rates.xml --compressed -o compressed.xml
compare format-indented format rates-new.xml -o indented.xml
compare format-non-ascii-name format "café rates.xml" -o "café out.xml"
compare merge-non-ascii-names merge "café rates.xml" "料金 новые.xml" -o "结果 ü.xml" --backup --today 06/01/2025
compare merge merge rates.xml rates-new.xml -o merged.xml --today 06/01/2025 --report report.csv
compare merge-expired merge rates.xml rates-new.xml -o merged.xml --today 01/01/2032
compare merge-compressed merge rates.xml rates-new.xml -o merged.xml --compressed --today 06/01/2025
compare merge-over-base merge rates.xml rates-new.xml -o rates.xml --backup --today 06/01/2025
compare merge-damaged merge rates.xml damaged.xml -o merged.xml --today 06/01/2025
compare merge-into-folder merge rates.xml rates-new.xml -o nowhere/merged.xml

echo "$cases cases, $failures different"
[ "$failures" -eq 0 ]
