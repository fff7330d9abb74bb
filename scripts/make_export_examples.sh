#!/usr/bin/env bash
# Makes the export examples in docs/examples from a failed run of an example test on the virtual
# tester: the HTML report, the value change dump and the CSV files. Run from a build (build/ by
# default, or the folder given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."
qel=${1:-build}/src/cli/qel
out=docs/examples
mkdir -p "$out"
status=0
"$qel" run examples/counter161_radix16.qel --tester virtual --chip 74161 --fault stuck0:13 \
  --html "$out/report-failed-run.html" --vcd "$out/failed-run.vcd" --csv "$out/failed-run-table.csv" \
  --csv-levels "$out/failed-run-levels.csv" >/dev/null || status=$?
# The run fails on purpose: status 1 is an error found.
[ "$status" = 1 ] || { echo "make_export_examples: the run ended with status $status" >&2; exit 1; }
echo "written: $(ls "$out" | tr '\n' ' ')"
