#!/usr/bin/env bash
# The main job: builds, then runs the study on the bundled sample session and prints the report.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build >/dev/null
exec build/bin/ordinel replay data/scenarios/demo.json "$@"
