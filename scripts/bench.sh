#!/usr/bin/env bash
# Builds the benchmarks and measures the engine and the merge on generated
# 100 MB rate files, every figure against a reference measured in the same
# run. Pass --size-mb N to use other sizes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

status=0
for bench in xml_bench merge_bench desktop_bench; do
    if [ -x "build/bench/$bench" ]; then
        echo "== $bench"
        "build/bench/$bench" "$@" || status=1
    fi
done
exit $status
