#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, builds everything under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs every test, then runs each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
build=${BUILD_DIR:-build-check}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DZELMO_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 600

fuzz_seconds=${FUZZ_SECONDS:-60}
if command -v clang++ >/dev/null && [ -d fuzz ] && [ "$fuzz_seconds" -gt 0 ]; then
    fuzz_build=${FUZZ_BUILD_DIR:-build-fuzz}
    CC=clang CXX=clang++ cmake -S . -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZELMO_FUZZ=ON -DZELMO_TESTS=OFF -DZELMO_BENCHMARKS=OFF >/dev/null
    # Only the fuzz targets: everything else is built and tested above.
    fuzz_targets=$(cmake --build "$fuzz_build" --target help | grep -o '\bfuzz_[A-Za-z0-9_]*' | sort -u)
    [ -n "$fuzz_targets" ] && cmake --build "$fuzz_build" -j "$jobs" --target $fuzz_targets
    for target in "$fuzz_build"/bin/fuzz_*; do
        [ -x "$target" ] || continue
        corpus=$(mktemp -d)
        echo "Fuzzing $(basename "$target") for ${fuzz_seconds}s"
        "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
        rm -rf "$corpus"
    done
fi
