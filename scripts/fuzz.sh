#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given seconds (default 60).
#   scripts/fuzz.sh [seconds]
# A finding is copied to fuzz/findings/<target>/; keep it under tests/fuzz-regressions/<target>/
# once fixed, so the unit tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/deps.sh
if ! command -v clang++-14 >/dev/null || ! dpkg -s libclang-rt-14-dev >/dev/null 2>&1; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev
fi
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1
status=0
for bin in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$bin" _fuzz)
  corpus=$(mktemp -d)
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
  [ -d "tests/fuzz-regressions/$name" ] && cp -r "tests/fuzz-regressions/$name/." "$corpus/"
  mkdir -p "fuzz/findings/$name"
  echo "== $name: ${seconds}s"
  if ! "$bin" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
      -artifact_prefix="fuzz/findings/$name/" "$corpus" 2>"build-fuzz/$name.log"; then
    echo "!! $name found a problem; see build-fuzz/$name.log and fuzz/findings/$name/"
    status=1
  fi
  grep -E '^(#[0-9]+\s+DONE|Done [0-9]+ runs)' "build-fuzz/$name.log" | tail -1 || true
  rm -rf "$corpus"
done
exit $status
