#!/usr/bin/env bash
# The README's main-job command: builds the tools and runs them on the example tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DQEL_TESTS=OFF -DQEL_BENCH=OFF
qel=build/src/cli/qel
echo "== qel check: every example test, as the program loads them"
$qel check examples/*.qel || true
echo
echo "== qel show: the quad NAND's diagram"
$qel show examples/nand7400.qel
