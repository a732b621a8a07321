#!/usr/bin/env bash
# Builds the project and runs the benchmarks: scans and volumes are generated under
# $BUILD_DIR/bench-data (kept between runs), and the table is printed and kept there as
# results.txt. Extra arguments go to cartavox-bench (--quick: the 24 MP scans only).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export BUILD_DIR=${BUILD_DIR:-build}
scripts/build.sh
exec "$BUILD_DIR/bin/cartavox-bench" "$@"
