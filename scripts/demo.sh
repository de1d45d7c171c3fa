#!/usr/bin/env bash
# Optional: installs what is missing, builds Vantrel, makes the demonstration club in
# build/demo (the first time only) and opens the program on it. The club's own data in
# build/bin is not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target vantrel vantrel-cli
if [ ! -e build/demo/Vantrel.ini ]; then
  rm -rf build/demo
  ./build/bin/vantrel-cli exemple build/demo
fi
exec ./build/demo/vantrel
