#!/usr/bin/env bash
# Builds the Qt-free libraries and their tests as Windows programs (mingw-w64) and runs them
# under wine. Called by scripts/test.sh after the Linux tests; a failing test fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-windows
jobs="$(nproc)"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DVANTREL_WITH_QT=OFF -DVANTREL_BUILD_BENCH=OFF \
  -DVANTREL_GTEST_SOURCE=/usr/src/googletest
cmake --build "$build" -j "$jobs"

# A wine prefix of our own inside the build folder; no display, no Mono or Gecko prompt.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
fi
wineserver --persistent=60 >/dev/null 2>&1 || true
trap 'wineserver --kill >/dev/null 2>&1 || true' EXIT

status=0
ctest --test-dir "$build" --output-on-failure -j "$jobs" || status=$?

# The count of test programs and test cases run under wine, from the programs' own summaries.
log="$build/Testing/Temporary/LastTest.log"
if [ -f "$log" ]; then
  programs=$(grep -c '^\[==========\] Running ' "$log" || true)
  passed=$({ grep -o '^\[  PASSED  \] [0-9]* test' "$log" || true; } | awk '{s += $4} END {print s + 0}')
  failed=$({ grep -o '^\[  FAILED  \] [0-9]* test' "$log" || true; } | awk '{s += $4} END {print s + 0}')
  echo "Windows (wine): $programs test programs, $passed tests passed, $failed failed"
fi
exit "$status"
