#!/usr/bin/env bash
# The main job: builds the program and the study library, then runs the study on a chart
# against the sample levels service (started in-process), writes ordinel-chart.png and
# ordinel-chart.svg here and prints the panel and the message log. Extra arguments go to
# `ordinel chart` (see `build/bin/ordinel chart --help`).
set -euo pipefail
cd "$(dirname "$0")/.."
ORDINEL_BUILD_TARGETS="ordinel OrdinelStudy_64" scripts/setup.sh build >/dev/null
exec build/bin/ordinel chart "$@"
