#!/usr/bin/env bash
# Builds the project with AddressSanitizer and UndefinedBehaviorSanitizer into build-san/ (or
# $SAN_BUILD_DIR) and runs the whole test suite there. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer_env.sh
dir=${SAN_BUILD_DIR:-build-san}
# The test programs are run while they are built, to list their tests: the options apply there too.
BUILD_DIR=$dir scripts/build.sh -DCARTAVOX_SANITIZE=ON
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 600
