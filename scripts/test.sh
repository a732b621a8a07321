#!/usr/bin/env bash
# The README's test command: installs what is missing, checks the formatting, builds with every
# warning an error, and runs every test; then runs the whole suite again built by clang under
# AddressSanitizer and UndefinedBehaviorSanitizer with its thread-safety analysis (build-san/),
# and each fuzz target for a short fixed time (build-fuzz/, FUZZ_SECONDS each, default 15).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/format.sh --check
PRESET=test scripts/build.sh
(cd "${BUILD_DIR:-build}" && ctest --output-on-failure -j "$(nproc)")
scripts/sanitize.sh
scripts/fuzz.sh "${FUZZ_SECONDS:-15}"
