#!/usr/bin/env bash
# The screenshots of docs/: a failed run's dump (docs/examples/failed-run.vcd, made by
# scripts/make_export_examples.sh) open in GTKWave and in PulseView, on a virtual screen.
# Needs gtkwave, pulseview, xvfb and imagemagick; run once by hand, the pictures are committed.
set -euo pipefail
cd "$(dirname "$0")/.."
vcd=$PWD/docs/examples/failed-run.vcd
[ -f "$vcd" ] || { echo "make_viewer_screenshots: run scripts/make_export_examples.sh first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# GTKWave shows the traces a save file lists: every lane of the three scopes.
{
  echo "[dumpfile] \"$vcd\""
  echo "[size] 1280 1000"
  echo "[treeopen] reference."
  echo "[treeopen] result."
  echo "[treeopen] mismatch."
  for scope in reference result mismatch; do
    echo "@200"
    echo "-$scope"
    echo "@28"
    sed -n "/^\$scope module $scope /,/^\$upscope/p" "$vcd" | awk -v s="$scope" '$1 == "$var" { print s "." $5 }'
  done
} > "$work/run.gtkw"

shoot() {  # shoot NAME SCREEN COMMAND...: starts the viewer, waits for it to draw, takes the screen
  local name=$1 size=$2
  shift 2
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep 8
  import -window root -crop "$size+0+0" "docs/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

export work vcd
# PulseView shows the lanes of the three scopes one after another, each about 50 pixels high.
xvfb-run -a -s "-screen 0 1280x2100x24" bash -c "
  $(declare -f shoot)
  shoot vcd-gtkwave 1280x1000 gtkwave --rcvar 'do_initial_zoom_fit yes' --rcvar 'hide_sst yes' '$work/run.gtkw'
  shoot vcd-pulseview 1280x2100 pulseview -c -qwindowgeometry 1280x2100+0+0 -I vcd '$vcd'
"
echo "written: docs/vcd-gtkwave.png docs/vcd-pulseview.png"
