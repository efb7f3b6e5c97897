#!/usr/bin/env bash
# The main job: builds the program and the study library, then runs the study on a chart
# against the sample levels service (started in-process), writes ordinel-chart.png and
# ordinel-chart.svg here and prints the panel and the message log. Extra arguments go to
# `ordinel chart` (see `build/bin/ordinel chart --help`); `scripts/run.sh --serve` serves the
# chart as a live page instead. The build shows its progress on one line; its full output is
# kept in build/run-build.log.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
log=build/run-build.log

# Ninja's "[n/m] what" lines become one line rewritten in place; other lines (packages being
# installed, warnings) go to the log only, apart from setup's own notes.
show_progress() {
  local line width
  width=$(( $(tput cols 2>/dev/null || echo 80) - 1 ))
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    if [[ $line =~ ^\[([0-9]+)/([0-9]+)\]\ (.*)$ ]]; then
      [ -t 1 ] || continue
      line="${BASH_REMATCH[3]##* }"
      line="  building ${BASH_REMATCH[1]}/${BASH_REMATCH[2]}: ${line##*/}"
      printf '\r\033[K%s' "${line:0:$width}"
    elif [[ $line == setup:* ]]; then
      [ -t 1 ] && printf '\r\033[K'
      printf '%s\n' "$line"
    fi
  done
  [ -t 1 ] && printf '\r\033[K'
  return 0
}

: >"$log"
echo "ordinel: building the program and the study library (a couple of minutes the first time)"
if ! ORDINEL_BUILD_TARGETS="ordinel OrdinelStudy_64" scripts/setup.sh build 2>&1 | show_progress; then
  echo "ordinel: the build failed; the end of $log:" >&2
  tail -n 40 "$log" >&2
  exit 1
fi
echo "ordinel: built; running build/bin/ordinel chart $*"
exec build/bin/ordinel chart "$@"
