#!/usr/bin/env bash
# Builds Quillmar and starts the desktop application on a rate file, by
# default the bundled sample.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quillmar

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Quillmar is a desktop application and needs a display." >&2
    echo "Without one, try: xvfb-run -a $0 ${*:-}" >&2
    exit 1
fi
exec build/ui/quillmar "${1:-samples/rates.xml}"
