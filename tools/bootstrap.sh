#!/usr/bin/env bash
# Fresh Debian 12 machine to a running program or a passing test suite.
#   tools/bootstrap.sh run    install what is missing, build, start Handlehound
#   tools/bootstrap.sh test   install what is missing, build, run every test
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
build=${HH_BUILD_DIR:-build}
jobs=${HH_JOBS:-$(nproc)}

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libxi-dev libx11-dev libx11-xcb-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev libpq-dev
  pulseaudio-utils
)
test_packages=(
  xvfb xdotool xclip openbox trayer imagemagick sox iproute2 util-linux
  postgresql clang-14 libclang-rt-14-dev
)

install_missing() {
  local wanted=("$@") missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "== installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$build" -j "$jobs"
}

case "$mode" in
  run)
    install_missing "${packages[@]}"
    configure_and_build -DHH_TESTS=OFF -DHH_BENCH=OFF
    exec "$build/handlehound"
    ;;
  test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    configure_and_build -DHH_TESTS=ON -DHH_BENCH=ON
    ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
