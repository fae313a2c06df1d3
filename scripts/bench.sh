#!/usr/bin/env bash
# Builds the benchmarks and measures the engine, the merge and the desktop
# application on generated 100 MB rate files, every figure against a
# reference measured in the same run. Pass --size-mb N to use other sizes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

status=0
for bench in xml_bench merge_bench desktop_bench; do
    if [ -x "build/bench/$bench" ]; then
        echo "== $bench"
        runner=()
        # The desktop application needs an X display: a virtual one when
        # there is none.
        if [ "$bench" = desktop_bench ] && [ -z "${DISPLAY:-}" ]; then
            runner=(xvfb-run -a -s "-screen 0 1280x1024x24")
        fi
        "${runner[@]}" "build/bench/$bench" "$@" || status=1
    fi
done
exit $status
