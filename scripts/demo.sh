#!/usr/bin/env bash
# The README's demo command: installs what is missing, builds, draws the sample volume (once),
# packs it with cartavox-pack and starts the viewer from the volume's folder. Without a
# display it runs the viewer in Xvfb, saves a screenshot, prints where it is and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
build=$(cd "$BUILD_DIR" && pwd)
sample="$build/sample"
volume="$build/sample-volume"

if [[ ! -f "$sample/manifest.json" ]]; then
    # Drawn into a scratch folder first, so an interrupted run leaves no half sample.
    rm -rf "$sample.partial"
    "$build/bin/cartavox-sample" "$sample.partial"
    rm -rf "$sample"
    mv "$sample.partial" "$sample"
fi
# Packed again every time: the viewer inside the volume is the one just built.
rm -rf "$volume"
echo "Ogni libro del volume di esempio è numerato da 1, come in molte opere in più tomi:" \
    "cartavox-pack avvisa che digitando un numero si apre l'ultimo libro, l'Indice;" \
    "le pagine degli altri libri si aprono dagli elenchi. Gli avvisi sono attesi."
"$build/bin/cartavox-pack" build "$sample/manifest.json" "$volume"

if [[ -n "${DISPLAY:-}" ]]; then
    cd "$volume"
    exec ./Cartavox.exe
fi

# No display: a virtual one, a screenshot after the start-up, then both stopped.
display=99
while [[ -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
viewer=""
cleanup() {
    [[ -n "$viewer" ]] && kill "$viewer" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
    xdpyinfo -display ":$display" >/dev/null 2>&1 && break
    sleep 0.1
done
export DISPLAY=":$display"
(cd "$volume" && exec ./Cartavox.exe) &
viewer=$!
sleep "${DEMO_WAIT:-5}"
shot="$build/demo-screenshot.png"
import -window root "$shot"
echo "Schermata del visore: $shot"
