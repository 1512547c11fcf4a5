#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLFEN_BENCH=OFF
cmake --build build/release --target quillfen plutil
exec build/release/bin/quillfen "$@"
