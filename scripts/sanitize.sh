#!/usr/bin/env bash
# Builds the tests with clang, AddressSanitizer and UndefinedBehaviorSanitizer into build-san/
# (or $SAN_BUILD_DIR), with what they need and nothing more (no benchmarks), and runs the whole
# suite there. Any report fails the run, and so does any warning, the thread-safety analysis's
# included.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer_env.sh
dir=${SAN_BUILD_DIR:-build-san}
# Several build folders of one checkout share their compiled objects.
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
cmake --preset sanitize -B "$dir" >/dev/null
# The test programs are run while they are built, to list their tests: the options apply there too.
cmake --build "$dir" -j "$(nproc)" --target tests/all
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 600
