#!/usr/bin/env bash
# Builds the libFuzzer targets (the sanitized clang build) and runs each for the given seconds (default 60).
#   scripts/fuzz.sh [seconds]
# A finding is copied to fuzz/findings/<target>/; keep it under tests/fuzz-regressions/<target>/
# once fixed, so the unit tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/sanitize-config.sh
cmake --build build-sanitize -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1
status=0
for bin in build-sanitize/fuzz/*_fuzz; do
  name=$(basename "$bin" _fuzz)
  corpus=$(mktemp -d)
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
  [ -d "tests/fuzz-regressions/$name" ] && cp -r "tests/fuzz-regressions/$name/." "$corpus/"
  mkdir -p "fuzz/findings/$name"
  echo "== $name: ${seconds}s"
  if ! "$bin" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
      -artifact_prefix="fuzz/findings/$name/" "$corpus" 2>"build-sanitize/$name.log"; then
    echo "!! $name found a problem; see build-sanitize/$name.log and fuzz/findings/$name/"
    status=1
  fi
  grep -E '^(#[0-9]+\s+DONE|Done [0-9]+ runs)' "build-sanitize/$name.log" | tail -1 || true
  rm -rf "$corpus"
done
exit $status
