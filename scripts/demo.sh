#!/usr/bin/env bash
# The README's main-job command: builds the tools and runs example tests on a tester: the one
# attached, or the virtual tester when none is (or when QEL_TESTER=virtual is set).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DQEL_TESTS=OFF -DQEL_BENCH=OFF
qel=build/src/cli/qel
tester=(--tester virtual --chip 7400)
# The attached tester through QEL_TESTER or the default driver: the vendor's library, else
# libftdi on Linux.
if [ "${QEL_TESTER:-}" != virtual ] && $qel probe >/dev/null 2>&1; then
  tester=()
  echo "== a tester is attached: the runs below use it"
else
  echo "== no tester attached: the runs below use the virtual tester with a 7400 in the clip"
fi
echo
echo "== qel check: every example test, as the program loads them"
$qel check examples/*.qel || true
echo
echo "== qel book: the example reference book checked, then searched as the chip-name box does"
$qel book examples/chips.lib --check || true
$qel book examples/chips.lib --find ла3 || true
echo
echo "== qel show: the quad NAND's diagram"
$qel show examples/nand7400.qel
echo
echo "== qel run: the quad NAND, a good chip"
$qel run examples/nand7400.qel ${tester[@]+"${tester[@]}"} || true
if [ ${#tester[@]} -gt 0 ]; then
  echo
  echo "== qel run: the same chip with output 1Y (pin 3) stuck low"
  $qel run examples/nand7400.qel ${tester[@]+"${tester[@]}"} --fault stuck0:3 --report build/nand7400-stuck.json || true
  echo "(report: build/nand7400-stuck.json)"
fi
echo
echo "== qeltest: the desktop program on the virtual tester, with an example test open"
exec scripts/run-gui.sh
