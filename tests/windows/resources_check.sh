#!/usr/bin/env bash
# Reads the resources back out of quillmar.exe and checks what Windows shows
# of them: the version data in the file's properties, the program's icon
# first (Explorer shows an executable's first icon), the document icon the
# registered type names, and the manifest.
# Usage: resources_check.sh <quillmar.exe>
set -euo pipefail

resources=$(x86_64-w64-mingw32-windres -i "$1" -O rc 2>/dev/null)
failures=0
expect() { # DESCRIPTION EXTENDED-REGEX
    if grep -qE "$2" <<<"$resources"; then
        echo "ok: $1"
    else
        echo "MISSING: $1"
        failures=$((failures + 1))
    fi
}

expect "file version 3.1.0.1" '^ *FILEVERSION 3, 1, 0, 1$'
expect "product version 3.1.0.1" '^ *PRODUCTVERSION 3, 1, 0, 1$'
expect "file-version string" 'VALUE "FileVersion", "3\.01\.12092003"'
expect "product-version string" 'VALUE "ProductVersion", "3\.01"'
expect "internal name" 'VALUE "InternalName", "Quillmar"'
expect "file name" 'VALUE "OriginalFilename", "Quillmar\.exe"'
expect "application icon 128" '^128 14 /\* RT_GROUP_ICON \*/'
expect "document icon 129" '^129 14 /\* RT_GROUP_ICON \*/'
expect "manifest" '^1 24 /\* RT_MANIFEST \*/'

first_icon=$(grep -m 1 -E ' 14 /\* RT_GROUP_ICON \*/' <<<"$resources" | cut -d' ' -f1)
if [ "$first_icon" = '"QUILLMAR"' ]; then
    echo "ok: the program's icon comes first"
else
    echo "MISSING: the program's icon comes first (first is $first_icon)"
    failures=$((failures + 1))
fi

# The manifest is plain text inside the executable.
manifest=$(strings -n 8 "$1" | tr -d '\r')
for part in 'Microsoft.Windows.Common-Controls' 'version="6.0.0.0"' '>UTF-8</activeCodePage>'; do
    if grep -qF "$part" <<<"$manifest"; then
        echo "ok: manifest has $part"
    else
        echo "MISSING: manifest has $part"
        failures=$((failures + 1))
    fi
done

[ "$failures" -eq 0 ]
