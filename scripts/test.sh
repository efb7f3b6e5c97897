#!/usr/bin/env bash
# Builds and runs the tests in named stages; with no stage named, all of them in this order (as
# CI does). Each stage builds what it needs and fails on any failure or report.
#   plain    the plain build and all its tests
#   browser  the chart page's tests in headless Chromium, on the plain build's program
#   windows  the Windows side cross-compiled and run under Wine (scripts/test-windows.sh)
#   asan     the build under AddressSanitizer and UndefinedBehaviorSanitizer, all its tests
#   tsan     the clang build under ThreadSanitizer, the tests labelled `threads`
#   fuzz     a bounded fuzz run (scripts/run_fuzz.sh)
# Usage: scripts/test.sh [STAGE...]   An unknown stage exits with status 2.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${ORDINEL_TEST_JOBS:-2}"
all_stages=(plain browser windows asan tsan fuzz)

stage_plain() {
  scripts/setup.sh build
  ctest --test-dir build --output-on-failure --timeout 300 -j "$jobs"
}

# ---- browser tests: `ordinel chart --serve` in Debian's headless Chromium; the list of test
# files is package.json's "test" script ----
stage_browser() {
  ORDINEL_BROWSER=1 ORDINEL_BUILD_TARGETS="ordinel OrdinelStudy_64" scripts/setup.sh build
  (cd tests/browser && ORDINEL_PROGRAM="$PWD/../../build/bin/ordinel" npm test --silent)
}
# ---- end of the browser tests block ----

stage_windows() {
  scripts/test-windows.sh
}

stage_asan() {
  scripts/setup.sh build-asan -DORDINEL_SANITIZE=ON -DORDINEL_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure --timeout 600 -j "$jobs"
}

# The programs labelled `threads` are those whose code runs on more than one thread (the research
# worker, the live transport, the loopback servers, the chart page, the live session).
stage_tsan() {
  CC=clang CXX=clang++ scripts/setup.sh build-tsan -DORDINEL_TSAN=ON -DORDINEL_BENCHMARKS=OFF
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ctest --test-dir build-tsan -L threads --output-on-failure --timeout 600 -j "$jobs"
}

stage_fuzz() {
  if [ -x scripts/run_fuzz.sh ]; then
    scripts/run_fuzz.sh "${ORDINEL_FUZZ_SECONDS:-60}"
  fi
}

[ $# -gt 0 ] || set -- "${all_stages[@]}"
for stage in "$@"; do
  if [[ " ${all_stages[*]} " != *" $stage "* ]]; then
    echo "test.sh: no stage '$stage'; the stages are: ${all_stages[*]}" >&2
    exit 2
  fi
done
for stage in "$@"; do
  echo "== test.sh: $stage"
  "stage_$stage"
done
