#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a bounded time on a
# scratch copy of its seed corpus (fuzz/corpus is never written). Exits non-zero on any crash,
# sanitizer report, leak or timeout; crashing inputs are kept in build-fuzz/fuzz-artifacts/.
# Usage: scripts/run_fuzz.sh [seconds per target, default 60]
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds per target]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
artifacts="$build/fuzz-artifacts"

export CC=clang CXX=clang++
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DORDINEL_FUZZ=ON -DORDINEL_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target fuzz_targets -- -j2

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"

status=0
shopt -s nullglob
targets=("$build"/fuzz/*_fuzz)
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets were built" >&2
  exit 1
fi

for target in "${targets[@]}"; do
  name="$(basename "$target" _fuzz)"
  corpus="$scratch/$name"
  mkdir -p "$corpus"
  if [ -d "$root/fuzz/corpus/$name" ]; then cp -R "$root/fuzz/corpus/$name/." "$corpus/"; fi
  options=(-max_total_time="$seconds" -detect_leaks=1 -timeout=10 -rss_limit_mb=2048
           -print_final_stats=1 -artifact_prefix="$artifacts/${name}-")
  if [ -f "$root/fuzz/$name.dict" ]; then options+=(-dict="$root/fuzz/$name.dict"); fi
  # A target's own options (such as a larger -max_len), one or more per line.
  if [ -f "$root/fuzz/$name.options" ]; then
    read -r -a extra < "$root/fuzz/$name.options"
    options+=("${extra[@]}")
  fi

  log="$scratch/$name.log"
  echo "== $name: ${seconds}s"
  failed=0
  if ! "$target" "${options[@]}" "$corpus" >"$log" 2>&1; then
    echo "!! $name failed; the input is kept in $artifacts" >&2
    failed=1
  elif grep -qE "runtime error:|ERROR: (Address|Leak|Undefined)Sanitizer" "$log"; then
    echo "!! $name reported a sanitizer finding" >&2
    failed=1
  fi
  if [ "$failed" -ne 0 ]; then
    grep -vE '^(#[0-9]+|"|###)' "$log" | tail -n 60 >&2
    status=1
  else
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)" "$log" || true
  fi
done

exit "$status"
