#!/usr/bin/env bash
# Installs what Nimbalo needs, builds it and starts it. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIMBALO_BUILD_TESTS=OFF \
  -DNIMBALO_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)"
exec build/bin/nimbalo "$@"
