#!/usr/bin/env bash
# Builds the program and runs it from ./instance, a program folder with the demo database.
# Usage: ./run.sh       (Ctrl-C ends the program; its tables are closed)
# Env:   ZV_INSTANCE=DIR   another program folder (default: ./instance)
#        ZV_JOBS=N         parallel build jobs (default: number of cores)
set -euo pipefail
cd "$(dirname "$0")"

# The build configures the test targets too, so GoogleTest is needed even here.
./install-packages.sh cmake ninja-build g++ libgtest-dev libgmock-dev qt6-base-dev \
  fonts-dejavu-core libcurl4-openssl-dev

build=build-release
instance=${ZV_INSTANCE:-instance}
jobs=${ZV_JOBS:-$(nproc)}

echo "== build ($build)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
  -DZV_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target ziruvuz csc32 see32mt xbtool ziruvuz-client

echo "== program folder $instance"
mkdir -p "$instance"
cp -f "$build/app/ziruvuz" "$instance/"
cp -f "$build/platform/sockets/libcsc32.so" "$build/app/libsee32mt.so" "$instance/"
if [ ! -d "$instance/BASES" ]; then
  # First run only: a site's own tables are never overwritten.
  "$build/tools/xbtool/xbtool" create-demo "$instance/BASES"
fi

# Where the program listens: IP_ADDR and IP_PORT of F_DIZU.
field() {  # field NAME -> value of that field in the first record of F_DIZU
  local position
  position=$("$build/tools/xbtool/xbtool" struct "$instance/BASES/F_DIZU" |
    awk -v name="$1" '$1 == "field" { n++; if ($2 == name) print n + 1 }')
  "$build/tools/xbtool/xbtool" dump "$instance/BASES/F_DIZU" | head -1 |
    awk -F'|' -v p="$position" '{ gsub(/ /, "", $p); print $p }'
}
address=$(field IP_ADDR || true)
port=$(field IP_PORT || true)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
  echo "== no display: running without a window"
fi
echo "== the program listens on ${address:-?}:${port:-?}; try, from another terminal:"
echo "   $build/tools/ziruvuz_client/ziruvuz-client --send ${address:-127.0.0.1}:${port:-7100}" \
  "--user ZIRUVUZ --password ZV-2024 getinfo 107 Carlos Castro"
echo "== Ctrl-C ends it"
cd "$instance"
exec ./ziruvuz
