#!/usr/bin/env bash
# The README's test command: installs, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Release, as a packager builds it: the optimiser's warnings are errors here too.
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 300
