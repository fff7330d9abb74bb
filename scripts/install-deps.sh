#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# QEL_WITH_WINDOWS=1 adds the MinGW-w64 cross compilers and wine (scripts/windows-cross.sh).
set -euo pipefail
packages=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev ccache
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev
  libftdi1-dev help2man dpkg-dev file libpugixml-dev
  python3 time
  sigrok-cli
)
if [ -d "$(dirname "$0")/../src/gui" ] && [ "${QEL_WITH_GUI:-1}" = 1 ]; then
  # The golden screenshots are drawn with DejaVu.
  packages+=(qt6-base-dev qt6-base-dev-tools libgl-dev xvfb xauth fonts-dejavu-core)
  # The user guide as HTML for the help commands; Qt's own Russian texts (Yes/No, file dialogs).
  packages+=(python3-markdown qt6-translations-l10n)
fi
if [ "${QEL_WITH_WINDOWS:-0}" = 1 ]; then
  # The "-posix" compilers: the "-win32" ones have no std::thread. GoogleTest is built from the
  # sources of googletest for the target.
  packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine wine64)
fi
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# 32-bit Windows programs need wine32 from the i386 architecture; without it they are not run.
if [ "${QEL_WITH_WINDOWS:-0}" = 1 ] && ! installed wine32:i386; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo_cmd dpkg --add-architecture i386
  fi
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends wine32:i386 ||
    echo "install-deps: wine32 could not be installed; 32-bit Windows tests will not run" >&2
fi
