#!/usr/bin/env bash
# Installs a build as a user would and runs what was installed, with the build tree out of the
# way: `cmake --install` into a prefix, then the .deb packages through apt (as root). Checks that
# qel --version, qel check on the examples, qel on the virtual tester and qeltest (offscreen) run
# from the installed files alone.
# Usage: scripts/check-install.sh [BUILD_DIR]   (default build/, built by scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -x "$build/src/cli/qel" ] || scripts/build.sh "$build"
cmake --build "$build" -j "$(nproc)"
work=$(mktemp -d)
hidden="$build.moved-away"
restore() {
  [ -d "$hidden" ] && mv "$hidden" "$build"
  [ -f "$work/shot.png" ] && cp "$work/shot.png" "$build/check-install-qeltest.png"
  rm -rf "$work"
}
trap restore EXIT

run_installed() {  # run_installed BIN_DIR DOC_DIR
  local bin=$1 doc=$2
  env -u QEL_VIRTUAL_LIBRARY -u LD_LIBRARY_PATH -u QEL_TESTER "$bin/qel" --version
  env -u QEL_VIRTUAL_LIBRARY -u LD_LIBRARY_PATH "$bin/qel" check "$doc"/examples/*.qel
  env -u QEL_VIRTUAL_LIBRARY -u LD_LIBRARY_PATH "$bin/qel" run "$doc/examples/nand7400.qel" \
    --tester virtual --chip 7400 --report "$work/report.json" > "$work/run.txt"
  grep -q '"schemaVersion": 1' "$work/report.json"
  if [ -x "$bin/qeltest" ]; then
    mkdir -p "$work/settings/QEL_Tester"
    # The four options together, or the program takes the first-run values of all four; no
    # channel self-test at start, which wants an empty clip.
    printf '[General]\nShortTest=true\nVCCOff=true\nContinue=false\nTestCanalOnStart=false\n' \
      > "$work/settings/QEL_Tester/historylist.ini"
    rm -f "$work/shot.png"
    env -u QEL_VIRTUAL_LIBRARY -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen QEL_TESTER=virtual QEL_CHIP=7400 \
      QEL_SETTINGS_DIR="$work/settings" QEL_OPEN="$doc/examples/nand7400.qel" QEL_SCREENSHOT="$work/shot.png" \
      "$bin/qeltest"
    [ -s "$work/shot.png" ] || { echo "check-install: qeltest drew nothing" >&2; exit 1; }
    echo "check-install: installed qeltest ran offscreen and drew its window"
  fi
}

echo "== cmake --install into a prefix, the build tree moved away"
cmake --install "$build" --prefix "$work/prefix" --strip > /dev/null
(cd "$build" && cpack -G DEB > /dev/null && ls ./*.deb)
debs=("$PWD/$build"/qel_*.deb "$PWD/$build"/qeltest_*.deb)
cp "${debs[@]}" "$work/"
mv "$build" "$hidden"
run_installed "$work/prefix/bin" "$work/prefix/share/doc/qel"

echo "== the .deb packages installed with apt"
if [ "$(id -u)" -ne 0 ]; then
  echo "check-install: not root, the packages are not installed (they are in $build/)"
  exit 0
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$work"/qel_*.deb "$work"/qeltest_*.deb > /dev/null
remove() { DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq qeltest qel > /dev/null || true; }
trap 'remove; restore' EXIT
dpkg -L qel qeltest | grep -E '^/usr/(bin|lib|share/(applications|icons|man|bash-completion))' |
  while read -r f; do [ -f "$f" ] && echo "$f"; done | sort
run_installed /usr/bin /usr/share/doc/qel
echo "check-install: passed"
