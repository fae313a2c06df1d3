#!/usr/bin/env bash
# Cross-builds quillmar.exe and quillmar-cli.exe (and the unit tests) for
# 64-bit Windows into build-windows/, with mingw-w64 and a static wxWidgets
# built once per machine from Debian's source package, and makes their
# installer build-windows/quillmar-3.1.0-setup.exe with NSIS.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh windows
started=$SECONDS
wx_prefix=$(bash scripts/windows-wx.sh | tail -n 1)
echo "wxWidgets for Windows ready in $((SECONDS - started)) s: $wx_prefix"
started=$SECONDS

cmake -S . -B build-windows -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release \
    -DQUILLMAR_WERROR="${QUILLMAR_WERROR:-OFF}" \
    -DwxWidgets_CONFIG_EXECUTABLE="$wx_prefix/bin/wx-config"
cmake --build build-windows -j "$(nproc)"
echo "Built build-windows/ui/quillmar.exe, build-windows/cli/quillmar-cli.exe and" \
    "build-windows/quillmar-3.1.0-setup.exe in $((SECONDS - started)) s"
