#!/usr/bin/env bash
# Builds the benchmarks in build-bench/ (Release, -O2, no sanitizers) and prints the performance
# table: parse-only MB/s of the study's reader, RapidJSON DOM and simdjson DOM with the ratios
# from the same run and the heap bytes per input byte each tree keeps and takes at its peak;
# then, for each levels answer, ParseLevelsResponse alone and the study call that delivers it
# through the chart host (beside RapidJSON's parse of the same bytes), a plain call and a full
# redraw with every layer and the panel. Medians of repetitions run in random order.
# Usage: scripts/bench.sh [payload.json...]
#   default payloads: the three reference answers in ../shared/bench and data/answers/extended.json
#   BENCH_REPETITIONS (default 15) and BENCH_MIN_TIME (seconds per repetition, default 0.1)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
repetitions="${BENCH_REPETITIONS:-15}"
min_time="${BENCH_MIN_TIME:-0.1}"

if [ $# -eq 0 ]; then
  shared="$root/../shared/bench"
  set -- "$shared/levels_small.json" "$shared/levels_large.json" "$shared/research.json" \
         "$root/data/answers/extended.json"
fi
for payload in "$@"; do
  if [ ! -r "$payload" ]; then
    echo "bench: cannot read $payload" >&2
    exit 2
  fi
done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DORDINEL_SANITIZE=OFF -DORDINEL_FUZZ=OFF \
  -DORDINEL_BENCHMARKS=ON >/dev/null
nice -n 10 cmake --build "$build" --target json_reader_bench study_call_bench -- -j2 >/dev/null

model="$(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | cut -d: -f2- | sed 's/^ *//')"
echo "machine: ${model:-unknown processor}, $(nproc) cores; $repetitions repetitions of ${min_time}s in random order"
flags=(--benchmark_enable_random_interleaving=true --benchmark_repetitions="$repetitions"
       --benchmark_min_time="$min_time")
"$build/bench/json_reader_bench" "${flags[@]}" "$@" 2>/dev/null
echo
# The study's rows take levels answers only (not the research answer).
answers=()
for payload in "$@"; do
  case "$(basename "$payload")" in research*) ;; *) answers+=("$payload") ;; esac
done
"$build/bench/study_call_bench" "${flags[@]}" "${answers[@]}" 2>/dev/null
