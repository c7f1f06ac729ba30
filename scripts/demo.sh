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
  for _ in $(seq 50); do [ -s "$out/.display" ] && break; sleep 0.1; done
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
  "$wine_run" "$bin/marlune.exe" >"$out/marlune.out" 2>&1 &
  pids+=($!)
  timeout 150 "$wine_run" "$bin/marlune_autopilot.exe" --out "$(winpath "$out")" \
    --log "$(winpath "$out/commands.log")" | tr -d '\r'
else
  echo "demo: starting Marlune; close its window when you are done"
  "$wine_run" "$bin/marlune.exe" | tr -d '\r' | tee "$out/marlune.out"
  "$wine_run" "$bin/marlune_autopilot.exe" --close-host >/dev/null 2>&1 || true
fi
wait "$host" || true

echo "demo: converting the host's projects to PNG"
shopt -s nullglob
for bmp in "$out"/host-dump/*.bmp "$out"/*.bmp; do
  name=$(basename "$bmp" .bmp)
  convert "$bmp" -scale 400% "$out/png/$name.png"
done
for project in "$out"/host-dump/p*.txt; do
  id=$(basename "$project" .txt)
  frames=("$out"/png/"${id}"_f*_l*.png)
  [ ${#frames[@]} -eq 0 ] && continue
  montage "${frames[@]}" -tile x"$(grep -c . <<<"$(ls "$out"/host-dump/"${id}"_f1_l*.bmp)")" \
    -geometry +4+4 -background '#303030' "$out/png/${id}_contact_sheet.png" 2>/dev/null || true
  for layer_file in "$out"/host-dump/"${id}"_f1_l*.bmp; do
    layer=${layer_file##*_l}; layer=${layer%.bmp}
    convert -delay 12 -loop 0 "$out"/png/"${id}"_f*_l"${layer}".png "$out/png/${id}_l${layer}.gif"
  done
done
rm -f "$out"/*.bmp

echo
echo "demo: done. Output folder: $out"
ls "$out" "$out/png" | sed 's/^/  /'
