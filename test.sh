#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs the tests.
# Usage: ./test.sh            (exits non-zero on any failure)
# Env:   ZV_SKIP_SANITIZE=1   skip the clang ASan/UBSan build
#        ZV_JOBS=N            parallel build jobs (default: number of cores)
set -euo pipefail
cd "$(dirname "$0")"

./install-packages.sh cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev fonts-dejavu-core libcurl4-openssl-dev

jobs=${ZV_JOBS:-$(nproc)}

run_suite() {  # run_suite BUILD_DIR [cmake args...]
  local dir=$1; shift
  echo "== configure $dir"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  echo "== build $dir"
  cmake --build "$dir" -j "$jobs"
  echo "== test $dir"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_suite build

if [ -z "${ZV_SKIP_SANITIZE:-}" ] && command -v clang++ >/dev/null 2>&1; then
  run_suite build-asan -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DZV_SANITIZE=ON -DZV_FUZZ=ON -DZV_BENCH=OFF
  echo "== fuzz (short runs)"
  for f in build-asan/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    work=$(mktemp -d)
    mkdir -p "$work/corpus" "$work/tmp"
    seeds="fuzz/corpus/$(basename "$f")"
    [ -d "$seeds" ] && cp -r "$seeds"/. "$work/corpus"/
    # TMPDIR: whatever a target keeps in temporary folders goes with $work.
    TMPDIR="$work/tmp" "$f" -max_total_time=20 -rss_limit_mb=2048 -artifact_prefix="$work/" \
      "$work/corpus" >"$f.log" 2>&1 \
      || { tail -50 "$f.log"; echo "failing input kept in $work"; exit 1; }
    rm -rf "$work"
    echo "$(basename "$f"): $(grep -Eo 'Done [0-9]+ runs' "$f.log" || echo ok)"
  done
fi
echo "== all tests passed"
