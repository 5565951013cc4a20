#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors and runs the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESPARIO_WERROR=ON
cmake --build build
ctest --test-dir build --output-on-failure -j"$(nproc)"
