#!/usr/bin/env bash
# Builds the Debian package and tests it as an administrator would use it:
# its control data and contents, lintian, the desktop entry and the AppStream
# metainfo; then installs it with apt-get, runs both programs from /usr/bin
# (the desktop application under Xvfb), purges it and checks that nothing of
# it is left. Installing needs root (or sudo), as on the CI machine.
set -euo pipefail
cd "$(dirname "$0")/.."

started=$SECONDS
package=$(bash scripts/package.sh | tail -n 1)
echo "package: $package ($((SECONDS - started)) s to build)"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
fail() {
    echo "FAILED: $*"
    exit 1
}
if dpkg-query -W -f='${Status}' quillmar 2>/dev/null | grep -q "ok installed"; then
    fail "quillmar is installed already; the test installs and purges its own (apt-get purge quillmar)"
fi

# The control data.
info=$(dpkg-deb -I "$package")
expect_field() { # FIELD PATTERN (an extended regular expression)
    printf '%s\n' "$info" | grep -qE "^ $1: $2\$" ||
        fail "the field $1 is not \"$2\": $(printf '%s\n' "$info" | grep -E "^ $1:" || echo missing)"
}
expect_field Package quillmar
expect_field Version 3.1.0-1
expect_field Architecture amd64
expect_field Section editors
expect_field Priority optional
expect_field Maintainer '.+ <.+@.+>'
expect_field Description 'editor for XML insurance rate files'
# dpkg-shlibdeps found the toolkit, cairo and the C++ runtime.
for library in libc6 'libstdc\+\+6' 'libwxgtk3\.2' libcairo2; do
    expect_field Depends ".*\\b$library\\b.*"
done
[ "$(basename "$package")" = quillmar_3.1.0-1_amd64.deb ] || fail "the package is named $(basename "$package")"
echo "control data: quillmar 3.1.0-1 amd64, section editors, dependencies found"

# The contents.
contents=$(dpkg-deb -c "$package" | awk '{print $6}')
expected=(
    ./usr/bin/quillmar
    ./usr/bin/quillmar-cli
    ./usr/share/applications/quillmar.desktop
    ./usr/share/metainfo/io.github.veltrane.Quillmar.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/quillmar.svg
    ./usr/share/man/man1/quillmar.1.gz
    ./usr/share/man/man1/quillmar-cli.1.gz
    ./usr/share/doc/quillmar/copyright
    ./usr/share/doc/quillmar/changelog.Debian.gz
    ./usr/share/lintian/overrides/quillmar
)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/quillmar.png")
done
for path in "${expected[@]}"; do
    printf '%s\n' "$contents" | grep -qxF "$path" || fail "the package does not hold $path"
done
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
for program in quillmar quillmar-cli; do
    file -b "$unpacked/usr/bin/$program" | grep -q ", stripped" || fail "/usr/bin/$program is not stripped"
done
for size in "${sizes[@]}"; do
    actual=$(identify -format "%wx%h" "$unpacked/usr/share/icons/hicolor/${size}x${size}/apps/quillmar.png")
    [ "$actual" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $actual"
done
for page in quillmar quillmar-cli; do
    zcat "$unpacked/usr/share/man/man1/$page.1.gz" | grep -q '^\.SH DESCRIPTION' ||
        fail "the manual page of $page has no description"
done
zcat "$unpacked/usr/share/man/man1/quillmar.1.gz" | grep -q 'Unregister' ||
    fail "the manual page of quillmar does not name its switches"
echo "contents: ${#expected[@]} files, stripped programs, icons of ${sizes[*]} pixels"

# lintian: no error and no warning (those that stay are overridden, with a
# reason, in the package's own overrides file).
lintian --fail-on error,warning --display-info "$package" || fail "lintian found faults"
echo "lintian: clean"
desktop-file-validate "$unpacked/usr/share/applications/quillmar.desktop" ||
    fail "the desktop entry is not valid"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/io.github.veltrane.Quillmar.metainfo.xml" ||
    fail "the AppStream metainfo is not valid"

# Installed as an administrator installs it; purged again whatever happens.
installed=no
purge() {
    if [ "$installed" = yes ]; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq quillmar >/dev/null || true
    fi
    rm -rf "$unpacked"
}
trap purge EXIT
installed=yes
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$(realpath "$package")" >/dev/null
dpkg-query -W -f='${Status}' quillmar | grep -q "install ok installed" || fail "apt-get did not install quillmar"
mapfile -t owned < <(dpkg -L quillmar)
echo "installed: ${#owned[@]} paths"

checked=$(/usr/bin/quillmar-cli check samples/rates.xml)
[ "$checked" = "RATEFILE: 5 customers, 9 plans" ] || fail "quillmar-cli check printed \"$checked\""
echo "/usr/bin/quillmar-cli check: $checked"
[ "$(env -u DISPLAY /usr/bin/quillmar --version)" = "quillmar 3.01.12092003" ] ||
    fail "quillmar --version does not answer without a display"
timeout 120 bash tests/ui/smoke_test.sh /usr/bin/quillmar samples/rates.xml build-package/smoke

DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq quillmar >/dev/null
installed=no
! dpkg-query -W -f='${Status}' quillmar 2>/dev/null | grep -q "ok installed" || fail "quillmar is still installed"
[ -z "$(dpkg -L quillmar 2>/dev/null)" ] || fail "dpkg still lists files of quillmar"
for path in "${owned[@]}"; do
    if [ -e "$path" ] && [ ! -d "$path" ]; then
        fail "$path is left after the purge"
    fi
done
for path in /usr/share/doc/quillmar /usr/bin/quillmar /usr/bin/quillmar-cli; do
    [ ! -e "$path" ] || fail "$path is left after the purge"
done
[ -z "$(find /usr/share/icons/hicolor -name 'quillmar.*')" ] || fail "icons are left after the purge"
echo "purged: nothing of quillmar left"
echo "Debian package tested in $((SECONDS - started)) s"
