#!/usr/bin/env bash
# Builds the study as the 64-bit Windows DLL, build-windows/bin/OrdinelStudy_64.dll, with the
# MinGW-w64 cross compiler; installs the compiler first when it is missing. The Windows test
# programs and their run under Wine belong to scripts/test-windows.sh. A Release build: the
# debug information MinGW would add (DWARF, which Windows debuggers do not read) only bloats it.
# Usage: scripts/build-windows.sh [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
ORDINEL_PACKAGES=dll ORDINEL_BUILD_TARGETS=OrdinelStudy_64 \
  scripts/setup.sh build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release "$@"
echo "built $PWD/build-windows/bin/OrdinelStudy_64.dll"
