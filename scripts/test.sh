#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: once in a
# normal build (GUI tests under Xvfb), then the Debian package (built,
# checked, installed, run and purged), once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a Release build (built only, for the
# optimiser's warnings), then the Windows executables and their installer
# under Wine, then the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

# Every source is formatted as .clang-format says.
find xml document ui cli resources tests bench -name '*.cpp' -o -name '*.h' |
    xargs clang-format --dry-run -Werror

jobs=$(nproc)
# Every build below treats warnings as errors (scripts/windows-build.sh reads
# this too).
export QUILLMAR_WERROR=ON

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMAR_WERROR=ON \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build build -j "$jobs"
# The engine and the document layer pass the checks of .clang-tidy (every
# finding an error), with the build's compile commands.
run-clang-tidy -p build -j "$jobs" -quiet "$PWD/(xml|document)/[^/]*\.cpp\$"
# -noreset: the server otherwise resets each time its last client leaves, and
# turns away the GUI tests that connect while it does.
(cd build && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j "$jobs")

# The Debian package, installed into this machine and purged again.
bash scripts/package-test.sh

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLMAR_SANITIZE=ON \
    -DQUILLMAR_BUILD_GUI=OFF -DQUILLMAR_BUILD_BENCH=OFF -DQUILLMAR_WERROR=ON
cmake --build build-sanitize -j "$jobs"
(cd build-sanitize && ctest --output-on-failure -j "$jobs")

# Release: built only (the tests ran above), where -O3 brings warnings of its
# own.
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMAR_BUILD_TESTS=OFF \
    -DQUILLMAR_WERROR=ON
cmake --build build-release -j "$jobs"

# The Windows build: unit tests, the command-line tool against the Linux
# one, and the desktop application, under Wine.
bash scripts/windows-test.sh

# Replays the fuzzing corpus and fuzzes every target for a minute.
bash scripts/fuzz.sh 60
