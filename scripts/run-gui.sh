#!/usr/bin/env bash
# Builds the desktop program and starts it against the virtual tester with an example test:
# a 74161 counter in the clip, its test open. Set QEL_FAULTS (see docs/virtual-tester.md) to
# put a fault on the board, e.g. QEL_FAULTS=stuck1:14 scripts/run-gui.sh
# Without a display it says so and takes an offscreen screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."
QEL_WITH_GUI=1 scripts/install-deps.sh
dir=build-demo
scripts/build.sh "$dir" -DQEL_TESTS=OFF -DQEL_BENCH=OFF -DQEL_GUI=ON
program="$dir/src/gui/qeltest"
if [ ! -x "$program" ]; then
  echo "run-gui: qeltest was not built (Qt 6 Widgets missing?)" >&2
  exit 1
fi

# Settings of the demo, apart from the user's own: the channel self-test at start is off,
# because it wants an empty clip and the virtual board has a chip in it.
settings="$PWD/$dir/demo-settings"
mkdir -p "$settings/QEL_Tester"
if [ ! -f "$settings/QEL_Tester/historylist.ini" ]; then
  printf '[General]\nShortTest=true\nVCCOff=true\nContinue=false\nTestCanalOnStart=false\n' \
    > "$settings/QEL_Tester/historylist.ini"
fi

export QEL_TESTER=virtual
export QEL_CHIP=${QEL_CHIP:-74161}
export QEL_OPEN=${QEL_OPEN:-$PWD/examples/counter161_radix16.qel}
export QEL_SETTINGS_DIR="$settings"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  shot="$PWD/$dir/qeltest-screenshot.png"
  echo "run-gui: no display available (DISPLAY is not set), so the window cannot be shown here."
  echo "run-gui: to work with the program on this machine, run it under a virtual X server:"
  echo "           xvfb-run -a scripts/run-gui.sh      (and look at it with a VNC viewer or screenshots)"
  echo "run-gui: or on a machine with a screen. For now, an offscreen start with a screenshot:"
  QT_QPA_PLATFORM=offscreen QEL_SCREENSHOT="$shot" "$program"
  exit 0
fi
echo "run-gui: starting qeltest against the virtual tester (chip $QEL_CHIP${QEL_FAULTS:+, faults $QEL_FAULTS})"
echo "run-gui: open test: $QEL_OPEN"
exec "$program"
