#!/usr/bin/env bash
# Installs what is needed, builds, and runs the program's main job on the sample database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target vespario-cli
./build/cli/vespario-cli info data/sample.obs
# The bright galaxies of the sample sky, brightest first.
./build/cli/vespario-cli select data/sample.obs --where "Magn# < 9" --where "Type = eg" \
    --sort Magn# --show Magn# --show Con
