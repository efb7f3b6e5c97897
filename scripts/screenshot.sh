#!/usr/bin/env bash
# Makes docs/ordinel-page.png, the README's picture of `ordinel chart --serve`, with the same
# headless Chromium the browser tests use. Not part of CI: run it after changing the page.
# Usage: scripts/screenshot.sh [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/ordinel-page.png}"
ORDINEL_BROWSER=1 ORDINEL_BUILD_TARGETS="ordinel OrdinelStudy_64" scripts/setup.sh build >/dev/null
node tests/browser/screenshot.mjs "$out"
