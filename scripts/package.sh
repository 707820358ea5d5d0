#!/usr/bin/env bash
# Builds the Debian package in build/ and checks it with lintian (any error fails).
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target quorvel quorvel-devsim quorvel-cli quorvel_changelog quorvel_man quorvel-devsim_man quorvel-cli_man
cd build
rm -f quorvel_*.deb
cpack -G DEB >/dev/null
deb=$(ls quorvel_*.deb)
echo "== $deb"
# Root runs lintian in CI; the package is checked, not installed.
lintian --allow-root --fail-on error "$deb"
