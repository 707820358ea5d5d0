#!/usr/bin/env bash
# Configures build-sanitize: clang with AddressSanitizer, UndefinedBehaviorSanitizer and fuzzing
# instrumentation. The sanitized test suite and the fuzz targets share this one build. The build type
# None adds no flags of its own (an empty one would take the project's default, -O2 -g).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh clang
cmake -S . -B build-sanitize -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" -DQUORVEL_FUZZ=ON -DQUORVEL_BENCH=OFF >/dev/null
