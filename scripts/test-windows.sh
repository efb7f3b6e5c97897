#!/usr/bin/env bash
# Builds the Windows side (the study DLL and the core's test programs, cross-compiled with
# MinGW-w64) and runs its tests under Wine: one wineserver for the whole run, each test program
# started once, and the Linux sample levels service (build/bin/ordinel service) on a free
# loopback port for the tests that make HTTP requests.
# Usage: scripts/test-windows.sh   (scripts/test.sh runs it after the Linux tests)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
jobs="${ORDINEL_TEST_JOBS:-2}"
build=build-windows

scripts/setup.sh "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release
[ -x build/bin/ordinel ] || ORDINEL_BUILD_TARGETS=ordinel scripts/setup.sh build

wine_dir=/usr/lib/wine
export WINEPREFIX="$root/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
service_out="$(mktemp)"
service_pid=""
cleanup() {
  [ -z "$service_pid" ] || kill "$service_pid" 2>/dev/null || true
  [ -z "$service_pid" ] || wait "$service_pid" 2>/dev/null || true
  "$wine_dir/wineserver" -k 2>/dev/null || true
  rm -f "$service_out"
}
trap cleanup EXIT

# One persistent wineserver: the programs need not start and stop one each. wineboot readies
# the prefix and starts Wine's own background processes here, their output going nowhere:
# started by a test program instead, they would hold CTest's output pipe open for good.
"$wine_dir/wineserver" -p
"$wine_dir/wine64" wineboot --init >/dev/null 2>&1

# The faults the Windows tests expect (src/platform/windows/winhttp_get_test.cpp).
research="/market-context/indicator-research?symbol=NQ&source=QQQ&day=2025-01-02"
build/bin/ordinel service --port 0 \
  --fault "/unavailable-empty=status=503,truncate=0" \
  --fault "/moved=redirect=$research" >"$service_out" &
service_pid=$!
origin=""
for _ in $(seq 1 100); do
  origin="$(sed -n 's/^listening on //p' "$service_out")"
  [ -n "$origin" ] && break
  kill -0 "$service_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$origin" ]; then
  echo "test-windows: the sample levels service did not start" >&2
  exit 1
fi

ORDINEL_TEST_SERVICE="$origin" ctest --test-dir "$build" --output-on-failure --timeout 600 -j "$jobs"
