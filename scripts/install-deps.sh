#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev ccache
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  python3 time
)
if [ -d "$(dirname "$0")/../src/gui" ] && [ "${QEL_WITH_GUI:-1}" = 1 ]; then
  # The golden screenshots are drawn with DejaVu.
  packages+=(qt6-base-dev qt6-base-dev-tools libgl-dev xvfb xauth fonts-dejavu-core)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
