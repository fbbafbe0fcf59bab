#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test (CTest prints the summary).
# Usage: scripts/test.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-test}

"$here/scripts/setup.sh" test
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
# One test at a time: the screen tests drive real windows and share the reference backend,
# and timing-sensitive checks (clicks, idle sessions) should not compete for two cores.
ctest --output-on-failure --timeout 900
