#!/bin/sh
# Builds the libFuzzer target of the backend client with clang and the sanitizers, in a
# build directory of its own, and runs it for a bounded time over the committed seeds.
#
#   scripts/fuzz.sh [BUILD_DIR]      (default: build-fuzz; FUZZ_SECONDS, default 60)
#
# Exits non-zero when the target crashes; the crashing input is left in BUILD_DIR as
# crash-* (make it a regression test in tests/net).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}

compiler=
for candidate in clang++-14 clang++; do
    if command -v "$candidate" >/dev/null 2>&1; then
        compiler=$(command -v "$candidate")
        break
    fi
done
[ -n "$compiler" ] || { echo "fuzz.sh: clang++ not found" >&2; exit 2; }

mkdir -p "$build"
cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$compiler" >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 2; }
cmake --build "$build" -j2

# New inputs go to a working corpus inside the build directory; the seeds stay as committed.
mkdir -p "$build/corpus"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
echo "fuzz.sh: running fuzz_replyreader for ${seconds}s"
"$build/fuzz_replyreader" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -max_len=16384 -print_final_stats=1 -artifact_prefix="$build/" -dict="$root/fuzz/json.dict" \
    "$build/corpus" "$root/fuzz/corpus"
