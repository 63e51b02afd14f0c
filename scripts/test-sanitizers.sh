#!/usr/bin/env bash
# Builds the core, the command-line tool, the core tests and the fuzz harnesses with clang
# under AddressSanitizer and UndefinedBehaviorSanitizer (no window toolkit, no benchmarks) in
# build-asan/, runs the whole suite there (any report fails it), then runs every harness for
# VELMORA_FUZZ_SECONDS (20 unless told otherwise; 0 skips them) on its generated corpus.
# The tests and the harnesses share one instrumented build, so the core is compiled once.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VELMORA_JOBS:-$(nproc)}
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# -O1 with line tables keeps the build short on a small machine and the reports readable.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" \
  -DVELMORA_BUILD_FUZZ=ON -DVELMORA_BUILD_GUI=OFF -DVELMORA_BUILD_BENCH=OFF -DVELMORA_BUILD_TESTS=ON
cmake --build build-asan -j "$jobs"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

bash scripts/fuzz.sh build-asan "${VELMORA_FUZZ_SECONDS:-20}"
