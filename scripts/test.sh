#!/usr/bin/env bash
# Installs what is missing, builds everything with sanitizers and warnings as errors, runs every test.
# The maker's site is a loopback address, so that its links are exercised without leaving the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLFEN_WERROR=ON -DQUILLFEN_SANITIZE=ON \
  -DQUILLFEN_SITE=http://127.0.0.1:9/
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j"$(nproc)" --timeout 300
