#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, replays the seed corpus and fuzzes each target
# for the given number of seconds (default 60). New inputs go to a working
# corpus in the build folder; a crash fails the run and leaves its input there.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
bash scripts/deps.sh

CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLMAR_FUZZ=ON -DQUILLMAR_SANITIZE=ON -DQUILLMAR_BUILD_GUI=OFF -DQUILLMAR_BUILD_BENCH=OFF \
    -DQUILLMAR_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)"

for target in reader roundtrip merge; do
    binary="build-fuzz/tests/fuzz/fuzz_${target}"
    [ -x "$binary" ] || continue
    work="build-fuzz/corpus-${target}"
    mkdir -p "$work" "build-fuzz/crashes-${target}"
    echo "== fuzz_${target}: ${seconds} s"
    "$binary" -seed=1 -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/crashes-${target}/" \
        "$work" "tests/fuzz/corpus/${target}" 2>&1 | grep -E "^#|stat::|ERROR|SUMMARY|Done" | tail -12
    status=${PIPESTATUS[0]}
    if [ "$status" -ne 0 ]; then
        echo "fuzz_${target} found a failure (exit $status); inputs in build-fuzz/crashes-${target}/"
        exit 1
    fi
done
