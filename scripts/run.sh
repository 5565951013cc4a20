#!/usr/bin/env bash
# Installs what is needed, builds, and starts the window on the sample database. Without a
# display it runs the program's main job on the command line instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running vespario-cli on the sample database instead of the window."
    cmake --build build --target vespario-cli
    ./build/cli/vespario-cli info data/sample.obs
    # The bright galaxies of the sample sky, brightest first.
    ./build/cli/vespario-cli select data/sample.obs --where "Magn# < 9" --where "Type = eg" \
        --sort Magn# --show Magn# --show Con
    exit 0
fi
cmake --build build --target vespario
exec ./build/ui/vespario data/sample.obs
