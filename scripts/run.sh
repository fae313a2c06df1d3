#!/usr/bin/env bash
# Builds Quillmar and runs it on the bundled sample rate file.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quillmar-cli
exec build/cli/quillmar-cli format "${1:-samples/rates.xml}"
