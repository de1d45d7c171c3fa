#!/usr/bin/env bash
# Installs the Debian 12 packages Vantrel needs to build, run and test.
set -euo pipefail
packages=(
  cmake ninja-build g++
  qt6-base-dev qt6-charts-dev qt6-translations-l10n
  zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils fonts-dejavu-core
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
fi
