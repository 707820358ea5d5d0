#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tool need, when any is missing.
#   scripts/deps.sh [clang|package]
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-serialport-dev libqt6serialport6 libgl-dev libgtest-dev libgmock-dev
  libbenchmark-dev help2man xvfb xauth fonts-liberation fonts-dejavu-core poppler-utils qt6-translations-l10n)
# "clang" as argument: also the compiler and runtimes for the sanitized and fuzzing build.
[ "${1:-}" = "clang" ] && packages+=(clang-14 libclang-rt-14-dev)
# "package" as argument: also what the Debian package and its check need.
[ "${1:-}" = "package" ] && packages+=(dpkg-dev lintian)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
