#!/usr/bin/env bash
# Builds from scratch and runs every test: once plainly (then the browser tests of the chart page
# and the Windows side under Wine), once under AddressSanitizer and UndefinedBehaviorSanitizer,
# once in the clang build under ThreadSanitizer, then a bounded fuzz run. Fails on any failure or
# report.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${ORDINEL_TEST_JOBS:-2}"

scripts/setup.sh build
ctest --test-dir build --output-on-failure --timeout 300 -j "$jobs"

# ---- browser tests: `ordinel chart --serve` (the plain build above) in Debian's headless Chromium ----
ORDINEL_BROWSER=1 ORDINEL_BUILD_TARGETS="ordinel OrdinelStudy_64" scripts/setup.sh build
(cd tests/browser && ORDINEL_PROGRAM="$PWD/../../build/bin/ordinel" \
  node --test --test-concurrency=1 page_view.test.mjs page_settings.test.mjs page_updates.test.mjs page_security.test.mjs)
# ---- end of the browser tests block ----

scripts/test-windows.sh

scripts/setup.sh build-asan -DORDINEL_SANITIZE=ON -DORDINEL_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --timeout 600 -j "$jobs"

# The clang build, under ThreadSanitizer: everything is built, and the tests whose code runs on
# more than one thread - the research worker, the live transport, the loopback listener, the sample
# service, the chart page's server and the live end-to-end session - are run.
tsan_tests=(src/core/research/research_test src/tools/chart/chart_test src/tools/transport/transport_test src/tools/loopback/loopback_test
            src/tools/service/service_test src/tools/web/web_test src/core/platform/platform_posix_test
            tests/live_e2e_test)
CC=clang CXX=clang++ scripts/setup.sh build-tsan -DORDINEL_TSAN=ON -DORDINEL_BENCHMARKS=OFF
for t in "${tsan_tests[@]}"; do
  echo "== ThreadSanitizer: $t"
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "build-tsan/$t" --gtest_brief=1
done

if [ -x scripts/run_fuzz.sh ]; then
  scripts/run_fuzz.sh "${ORDINEL_FUZZ_SECONDS:-60}"
fi
