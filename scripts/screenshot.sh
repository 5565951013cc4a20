#!/usr/bin/env bash
# Takes the README's screenshot of the window on the sample database under Xvfb, with a
# profile of its own (a larger window than the first-run default, no tutorial question), and
# writes it to docs/screenshot.png (or the file given); then, into the same folder, the
# Settings sheet (settings.png), What's Up with the night chart (whatsup.png), the night
# chart window (nightchart.png) and the position angle dial (padial.png).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/screenshot.png}")"
mkdir -p "$(dirname "$out")"
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vespario
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
mkdir -p "$profile/Vespario"
cp data/Vespario.ini "$profile/Vespario/Vespario.ini"
cat >>"$profile/Vespario/Vespario.ini" <<'INI'
[Screen Location]
Left=0
Top=0
Right=1000
Bottom=700
Split2_1=200
Split3_1=190
Split3_2=560
Split5_1=70
Split5_2=120
Split5_3=60
Split5_4=60
[Settings]
Tutorial=0
EurobarSeen=1
CurPage=5
INI
# The objects within 3 degrees of M31; the window grabs itself (or the tool window named)
# once the idle work is done.
shot() {
    XDG_CONFIG_HOME="$profile" xvfb-run -a -s "-screen 0 1400x1000x24" \
        ./build/ui/vespario --screenshot "$1" "${@:2}" data/sample.obs "-RaDec=004244+4116,3"
    echo "wrote $1"
}
shot "$out"
folder="$(dirname "$out")"
for window in settings whatsup nightchart padial; do
    shot "$folder/$window.png" --screenshot-window "$window"
done
