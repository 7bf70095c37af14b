#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default
# 60) from its seed corpus in tests/fuzz/corpus/<name>. Findings stop it.
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${HH_FUZZ_BUILD_DIR:-build-fuzz}
CXX=clang++-14 CC=clang-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHH_FUZZ=ON -DHH_TESTS=OFF -DHH_BENCH=OFF -DHH_WERROR=ON >/dev/null
cmake --build "$build" --target fuzz_targets -j "${HH_JOBS:-$(nproc)}"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(pickup players ini alias_page result_script)
for t in "${targets[@]}"; do
  work=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$t/." "$work/"
  echo "== fuzz_$t for ${seconds}s"
  "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/" "$work" 2>&1 | grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|==|property|#[0-9]+ +DONE)" || true
  # One kind of finding is enough: ls of all three kinds fails unless all exist.
  findings=$(find "$work" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \))
  if [ -n "$findings" ]; then
    echo "fuzz_$t found a failing input:"; echo "$findings"
    exit 1
  fi
  rm -rf "$work"
done
