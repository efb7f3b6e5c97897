#!/bin/sh
# Runs one Windows program under Wine in the build's own prefix, without Wine's debug output and
# without the offers to install Mono or Gecko. A wineserver already running for the prefix
# (scripts/test-windows.sh starts one) serves every program of a test run.
# Usage: wine-run.sh WINE PREFIX PROGRAM [ARGUMENTS...]
set -eu
wine="$1"
prefix="$2"
shift 2
mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec "$wine" "$@"
