#!/usr/bin/env bash
# Builds the Windows executables and tests them under Wine: the engine and
# document unit tests, the executable's resources, quillmar-cli.exe against
# the Linux tool's outputs, a smoke test of quillmar.exe under Xvfb, and the
# installer: installed, run and uninstalled in a fresh Wine prefix. Expects
# the Linux build in build/ (scripts/test.sh makes it first).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/windows-build.sh

# A Wine prefix of the build's own, so that the tests neither see nor touch
# the user's; no prompts for Wine's .NET and browser add-ons.
export WINEPREFIX="$PWD/build-windows/wine"
# Wine names Unix files in the locale's character set: without a UTF-8
# locale (an environment with no LANG, say) it cannot open the tests' files
# with names in other scripts.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
*UTF-8* | *utf8*) ;;
*) export LC_ALL=C.UTF-8 ;;
esac
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -d "$WINEPREFIX" ]; then
    wineboot --init >/dev/null 2>&1
    wineserver -w
fi

(cd build-windows && ctest --output-on-failure)
bash tests/windows/resources_check.sh build-windows/ui/quillmar.exe
bash tests/windows/cli_compare.sh build/cli/quillmar-cli build-windows/cli/quillmar-cli.exe
timeout 300 bash tests/windows/smoke_test.sh build-windows/ui/quillmar.exe samples/rates.xml build-windows/smoke
wineserver -k 2>/dev/null || true
started=$SECONDS
timeout 900 bash tests/windows/installer_test.sh build-windows/quillmar-3.1.0-setup.exe samples/rates.xml \
    build-windows/installer
echo "Installer tested in $((SECONDS - started)) s"
