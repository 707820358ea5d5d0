#!/usr/bin/env bash
# Installs what is missing, builds from nothing and runs every test.
#   scripts/test.sh             plain build (build/)
#   scripts/test.sh --sanitize  clang build with AddressSanitizer + UndefinedBehaviorSanitizer (build-sanitize/)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  bash scripts/sanitize-config.sh
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  build=build
  bash scripts/deps.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest -j2 --output-on-failure --timeout 300
