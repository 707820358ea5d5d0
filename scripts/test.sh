#!/usr/bin/env bash
# Installs what is missing, builds from nothing and runs every test.
#   scripts/test.sh             plain build
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

build=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  flags=(-DQUORVEL_SANITIZE=ON -DQUORVEL_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest -j2 --output-on-failure --timeout 300
