#!/usr/bin/env bash
# Installs what is missing, builds everything with sanitizers and warnings as errors, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLFEN_WERROR=ON -DQUILLFEN_SANITIZE=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j"$(nproc)" --timeout 300
