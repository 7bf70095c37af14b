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
  qt6-base-dev qt6-multimedia-dev libgl-dev libxi-dev libx11-dev libx11-xcb-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev libpq-dev libboost-dev nlohmann-json3-dev
)
test_packages=(
  xvfb xdotool xclip x11-utils openbox trayer imagemagick sox iproute2 util-linux
  pulseaudio pulseaudio-utils
  postgresql clang-14 libclang-rt-14-dev appstream desktop-file-utils groff-base libcpp-httplib-dev
  lintian nsis
  openarena libgl1-mesa-dri libglx-mesa0
  g++-mingw-w64-x86-64-posix wine wine64 googletest
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

# A throwaway PostgreSQL cluster on a Unix socket for the alias database
# tests; they skip that group with a message when none can be started.
start_postgres() {
  pg_bin=/usr/lib/postgresql/15/bin
  [ -x "$pg_bin/initdb" ] || return 0
  pgdir=$(mktemp -d /tmp/hh-pg.XXXXXX)
  pg_as=(env)
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$pgdir"
    pg_as=(runuser -u postgres --)
  fi
  if "${pg_as[@]}" "$pg_bin/initdb" -D "$pgdir/data" -A trust -U postgres >/dev/null 2>&1 &&
     "${pg_as[@]}" "$pg_bin/pg_ctl" -D "$pgdir/data" -l "$pgdir/log" -w \
       -o "-k $pgdir -c listen_addresses=''" start >/dev/null 2>&1; then
    export HH_TEST_POSTGRES="host=$pgdir dbname=postgres user=postgres"
    trap '"${pg_as[@]}" "$pg_bin/pg_ctl" -D "$pgdir/data" -m fast stop >/dev/null 2>&1; rm -rf "$pgdir"' EXIT
    echo "== PostgreSQL for the tests: $HH_TEST_POSTGRES"
  else
    echo "== PostgreSQL could not start (see $pgdir/log); its tests will be skipped"
  fi
}

# configure_and_build BUILD_TYPE [cmake options...]
configure_and_build() {
  local type=$1
  shift
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
  cmake --build "$build" -j "$jobs"
}

case "$mode" in
  run)
    install_missing "${packages[@]}"
    configure_and_build RelWithDebInfo -DHH_TESTS=OFF -DHH_BENCH=OFF
    exec "$build/handlehound"
    ;;
  test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    start_postgres
    # The Windows program first: the Linux build's Wine test drives its exe.
    # Its logic tests run under Wine in the build folder's own prefix.
    win="${build}-windows"
    cmake -S . -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHH_TESTS=ON -DHH_BENCH=OFF \
      -DHH_WERROR=ON -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
    cmake --build "$win" -j "$jobs"
    ctest --test-dir "$win" --output-on-failure -j "$jobs" --timeout 300
    # Its installer and portable zip, installed, run and uninstalled under
    # Wine in a prefix of their own.
    rm -f "$win"/packages/handlehound-*
    cmake --build "$win" --target windows-packages
    tests/wine/installer_test.sh "$win"/packages/handlehound-*-setup.exe \
      "$win"/packages/handlehound-*-windows.zip

    # Release is what users and packagers build; warnings fail our own builds.
    configure_and_build Release -DHH_TESTS=ON -DHH_BENCH=ON -DHH_WERROR=ON \
      -DHH_WINDOWS_BUILD_DIR="$(realpath -m "$win")"
    ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300

    # The Debian package from this build: lintian finds no error, and it
    # installs, runs and purges without a trace (as root only).
    rm -f "$build"/packages/handlehound_*.deb
    (cd "$build" && cpack -G DEB >/dev/null)
    deb=$(echo "$build"/packages/handlehound_*_amd64.deb)
    echo "== $deb: $(stat -c %s "$deb") bytes; lintian:"
    lintian --display-info --fail-on error "$deb"
    tests/install/deb_test.sh "$deb"

    # The unit and integration tests again under AddressSanitizer and
    # UndefinedBehaviorSanitizer.
    if [ "${HH_SANITIZERS:-1}" = 1 ]; then
      san="${build}-asan"
      cmake -S . -B "$san" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHH_SANITIZE=ON -DHH_BENCH=OFF \
        -DHH_WERROR=ON >/dev/null
      cmake --build "$san" -j "$jobs"
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$san" --output-on-failure -j "$jobs" --timeout 600 -L "unit|integration"
    fi

    # Each fuzz target for a bounded time from its committed seed corpus.
    if [ "${HH_FUZZ_SECONDS:-60}" -gt 0 ]; then
      tools/fuzz.sh "${HH_FUZZ_SECONDS:-60}"
    fi
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
