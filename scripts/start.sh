#!/usr/bin/env bash
# Installs what is missing, builds Vantrel and starts it on its bundled first exercise.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target vantrel
exec ./build/bin/vantrel
