#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), generates the
# decimal-comma locale the tests switch to, then configures and builds.
# Usage: scripts/setup.sh [BUILD_DIR] [extra cmake arguments...]
# ORDINEL_BUILD_TARGETS (space-separated) builds only those targets instead of everything.
# ORDINEL_PACKAGES=dll installs only what building the Windows DLL needs (scripts/build-windows.sh).
# ORDINEL_BUILD_JOBS caps the parallel build jobs (ninja's default otherwise).
# ORDINEL_BROWSER=1 also installs what the browser tests need (see the blocks marked so).
set -euo pipefail
cd "$(dirname "$0")/.."

# The Windows DLL: the MinGW-w64 cross compiler and GoogleTest's sources for its test programs.
dll_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest)
packages=(
  g++ cmake ninja-build binutils pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev libcairo2-dev libfontconfig-dev fonts-dejavu-core
  libcpp-httplib-dev libhowardhinnant-date-dev tzdata
  libsqlite3-dev libtomlplusplus-dev  # the live service's capture store and configuration
  clang libclang-rt-14-dev locales
  rapidjson-dev libsimdjson-dev  # bench/ only: the parsers the JSON reader is measured against
  "${dll_packages[@]}" wine64
)
if [ "${ORDINEL_PACKAGES:-all}" = dll ]; then
  packages=("${dll_packages[@]}")
fi

# ---- browser tests: Debian's Chromium, and Node.js when the machine has none ----
if [ "${ORDINEL_BROWSER:-0}" = 1 ]; then
  packages+=(chromium)
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then packages+=(nodejs npm); fi
fi
# ---- end of the browser tests block ----

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locale tests prove that number text never follows the process locale.
if [ "${ORDINEL_PACKAGES:-all}" != dll ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "setup: generating de_DE.UTF-8"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
jobs=()
[ -z "${ORDINEL_BUILD_JOBS:-}" ] || jobs=(-j "$ORDINEL_BUILD_JOBS")
# shellcheck disable=SC2086  # a list of target names
ninja -C "$build_dir" "${jobs[@]}" ${ORDINEL_BUILD_TARGETS:-}

# ---- browser tests: playwright-core exactly as the lock file pins it; never a browser download ----
if [ "${ORDINEL_BROWSER:-0}" = 1 ]; then
  node_major="$(node -p 'process.versions.node.split(".")[0]')"
  if [ "$node_major" -lt 20 ]; then
    echo "setup: the browser tests need Node.js 20 or later, this machine has $(node --version)" >&2
    exit 1
  fi
  (cd tests/browser && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
# ---- end of the browser tests block ----
