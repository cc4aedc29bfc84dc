#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. the full build (engine, model, programs, benchmarks) and all its tests;
#   2. the engine and the model again with AddressSanitizer and UBSan, and their tests;
#   3. the engine built for Windows and its results on the examples checked under Wine.
set -euo pipefail
# Cache hits across clones in other folders (CI builds a fresh clone elsewhere).
export CCACHE_BASEDIR="$(cd "$(dirname "$0")" && pwd)" CCACHE_NOHASHDIR=true
cd "$(dirname "$0")"
scripts/deps.sh
jobs="$(nproc)"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNEL_SANITIZE=ON \
      -DTARNEL_WITH_GUI=OFF -DTARNEL_WITH_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"

export QT_QPA_PLATFORM=offscreen
# Tests with a real OpenGL context or screenshots run under a virtual X server.
run_ctest() {
  local dir=$1
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1600x1000x24" ctest --test-dir "$dir" --output-on-failure -j "$jobs"
  else
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
  fi
}
echo "== tests"
run_ctest build
echo "== sanitizer tests"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
scripts/windows-check.sh build
