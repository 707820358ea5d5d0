#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool. Without arguments it talks to a simulated
# device started inside the tool; any arguments are passed on (for instance none: scripts/run.sh --real).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quorvel quorvel-devsim
if [ "${1:-}" = "--real" ]; then
  shift
  exec build/src/quorvel "$@"
fi
exec build/src/quorvel --demo "$@"
