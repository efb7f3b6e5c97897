#!/usr/bin/env bash
# Builds the Windows side (the study DLL, ordinel.exe and the core's test programs, cross-compiled
# with MinGW-w64) and runs its tests under Wine: one wineserver for the whole run, each test
# program started once, and the Linux sample levels service (build/bin/ordinel service) on a free
# loopback port for the tests that make HTTP requests. Then ordinel.exe replays every scenario and
# inspects the sample answers, and each report and exit status must equal, byte for byte, what
# the Linux program (build/bin/ordinel) gives.
# Usage: scripts/test-windows.sh   (scripts/test.sh runs it after the Linux tests)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
jobs="${ORDINEL_TEST_JOBS:-2}"
build=build-windows

scripts/setup.sh "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release
# The Linux program and its study library, current: the reports ordinel.exe must match.
ORDINEL_BUILD_TARGETS="ordinel OrdinelStudy_64" scripts/setup.sh build

wine_dir=/usr/lib/wine
export WINEPREFIX="$root/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
service_out="$(mktemp)"
compare_dir="$(mktemp -d)"
service_pid=""
cleanup() {
  [ -z "$service_pid" ] || kill "$service_pid" 2>/dev/null || true
  [ -z "$service_pid" ] || wait "$service_pid" 2>/dev/null || true
  "$wine_dir/wineserver" -k 2>/dev/null || true
  rm -f "$service_out"
  rm -rf "$compare_dir"
}
trap cleanup EXIT

# One persistent wineserver: the programs need not start and stop one each. wineboot readies
# the prefix and starts Wine's own background processes here, their output going nowhere:
# started by a test program instead, they would hold CTest's output pipe open for good.
"$wine_dir/wineserver" -p
"$wine_dir/wine64" wineboot --init >/dev/null 2>&1

# The faults the Windows tests expect (src/core/platform/windows/winhttp_get_test.cpp).
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

# ordinel.exe beside the Linux program. Each comparison starts Wine once, inside the wineserver
# above; the scenarios name their files relative to themselves, so paths stay relative here.
linux_program=build/bin/ordinel
windows_program="$build/bin/ordinel.exe"
compared=0
differing=0
# compare_with_linux [--stdin FILE] ARGS...: the same command on both, its stdout and exit status.
compare_with_linux() {
  local input=/dev/null
  if [ "$1" = --stdin ]; then input="$2"; shift 2; fi
  local linux_status=0 windows_status=0
  "$linux_program" "$@" <"$input" >"$compare_dir/linux.out" 2>"$compare_dir/linux.err" || linux_status=$?
  "$wine_dir/wine64" "$windows_program" "$@" <"$input" >"$compare_dir/windows.out" \
    2>"$compare_dir/windows.err" || windows_status=$?
  compared=$((compared + 1))
  if [ "$linux_status" = "$windows_status" ] && cmp -s "$compare_dir/linux.out" "$compare_dir/windows.out"; then
    return 0
  fi
  differing=$((differing + 1))
  echo "test-windows: ordinel.exe $* differs from the Linux program" \
       "(exit status $windows_status, Linux $linux_status)"
  diff -u --label linux --label windows "$compare_dir/linux.out" "$compare_dir/windows.out" | head -n 40 || true
  sed 's/^/  windows stderr: /' "$compare_dir/windows.err" | head -n 5
}

started=$(date +%s)
for scenario in tests/scenarios/*.json data/scenarios/*.json; do
  compare_with_linux replay "$scenario"
done
for answer in data/answers/*.json data/answers/*.html; do
  compare_with_linux inspect "$answer"
done
compare_with_linux inspect data/answers/extended.json --top-strikes 3
compare_with_linux --stdin data/answers/locked.json inspect -
compare_with_linux inspect data/answers/no-such-answer.json
compare_with_linux replay tests/scenarios/no-such-scenario.json

# The commands that stay Linux-only end as a bad command does, with a line that says so.
for command in chart service engine; do
  status=0
  "$wine_dir/wine64" "$windows_program" "$command" >/dev/null 2>"$compare_dir/windows.err" || status=$?
  compared=$((compared + 1))
  if [ "$status" != 2 ] || ! grep -q "runs only in the Linux build" "$compare_dir/windows.err"; then
    differing=$((differing + 1))
    echo "test-windows: ordinel.exe $command: exit status $status, stderr:"
    cat "$compare_dir/windows.err"
  fi
done
echo "test-windows: ordinel.exe: $((compared - differing)) of $compared runs as on Linux" \
     "($(( $(date +%s) - started )) s)"
[ "$differing" -eq 0 ]
