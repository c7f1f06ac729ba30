#!/bin/bash
# Sets up, builds and runs the demo: the stand-in host with its sample project,
# and Marlune beside it, under Wine.
#   ./scripts/demo.sh              on your display: use Marlune by hand
#   ./scripts/demo.sh --autopilot  a driver plays the whole job through the windows
# With no display (no $DISPLAY) it runs on Xvfb, always with the autopilot.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

autopilot=0
for arg in "$@"; do
  case "$arg" in
    --autopilot) autopilot=1 ;;
    *) echo "usage: $0 [--autopilot]" >&2; exit 2 ;;
  esac
done

./scripts/setup.sh
echo "demo: building the Windows programs"
cmake --preset windows >/dev/null
cmake --build --preset windows --target marlune hostsim marlune_autopilot >/dev/null

build=$root/build/windows
bin=$build/bin
out=$root/out/demo-$(date +%Y%m%d-%H%M%S)
mkdir -p "$out/host-dump" "$out/png"
winpath() { echo "Z:${1//\//\\}"; }

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  WINEPREFIX=$build/wineprefix-demo wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  autopilot=1
  exec 3>"$out/.display"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 600); do [ -s "$out/.display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$out/.display")"
  rm -f "$out/.display"
  echo "demo: no display, running on Xvfb $DISPLAY"
fi

export MARLUNE_WINEPREFIX=$build/wineprefix-demo
export MARLUNE_WINE_GRAPHICS=x11
wine_run=$build/wine-run.sh
"$wine_run"  # makes and warms the prefix

echo "demo: starting the stand-in host with its sample project"
"$wine_run" "$bin/hostsim.exe" --sample --log "$(winpath "$out/commands.log")" \
  --dump "$(winpath "$out/host-dump")" >"$out/hostsim.out" 2>&1 &
host=$!
pids+=($host)

if [ $autopilot -eq 1 ]; then
  echo "demo: starting Marlune with the autopilot"
  timeout 150 "$wine_run" "$bin/marlune_autopilot.exe" --out "$(winpath "$out")" \
    --log "$(winpath "$out/commands.log")" | tr -d '\r'
else
  echo "demo: starting Marlune; close its window when you are done"
  "$wine_run" "$bin/marlune_autopilot.exe" --wait-host
  "$wine_run" "$bin/marlune_autopilot.exe" --run-marlune "$(winpath "$out")"
  "$wine_run" "$bin/marlune_autopilot.exe" --close-host >/dev/null 2>&1 || true
fi
wait "$host" || true

echo "demo: converting the host's projects to PNG"
shopt -s nullglob
for bmp in "$out"/host-dump/*.bmp "$out"/*.bmp; do
  name=$(basename "$bmp" .bmp)
  convert "$bmp" -scale 400% "$out/png/$name.png"
done
# Per project: each frame with its layers stacked (index 0, black, is clear on
# upper layers), an animated GIF of those, and a contact sheet (a row per layer,
# then the stacked row; a column per frame).
for project in "$out"/host-dump/p*.txt; do
  id=$(basename "$project" .txt)
  frames=$(sed -n 's/^frames=//p' "$project")
  layers=$(sed -n 's/^layers=//p' "$project")
  [ -z "$frames" ] || [ -z "$layers" ] || [ "$frames" -lt 1 ] && continue
  sheet=()
  for l in $(seq 0 $((layers - 1))); do
    for f in $(seq 1 "$frames"); do sheet+=("$out/png/${id}_f${f}_l${l}.png"); done
  done
  for f in $(seq 1 "$frames"); do
    stack=("$out/png/${id}_f${f}_l0.png")
    for l in $(seq 1 $((layers - 1))); do
      stack+=("(" "$out/png/${id}_f${f}_l${l}.png" -transparent black ")" -composite)
    done
    convert "${stack[@]}" "$out/png/${id}_f${f}.png"
    sheet+=("$out/png/${id}_f${f}.png")
  done
  convert -delay 15 -loop 0 $(for f in $(seq 1 "$frames"); do echo "$out/png/${id}_f${f}.png"; done) \
    "$out/png/${id}.gif"
  montage "${sheet[@]}" -tile "${frames}x" -geometry +4+4 -background '#303030' \
    "$out/png/${id}_contact_sheet.png"
done
# The sample's first frame beside its rotated copy in the new project.
if [ -f "$out/png/p1_f1.png" ] && [ -f "$out/png/p2_f1.png" ]; then
  convert "$out/png/p1_f1.png" "$out/png/p2_f1.png" -background '#303030' -splice 8x0 +append \
    +repage "$out/png/before-after.png"
fi
rm -f "$out"/*.bmp

echo
echo "demo: done. Output folder: $out"
ls "$out" "$out/png" | sed 's/^/  /'
