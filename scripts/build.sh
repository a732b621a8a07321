#!/usr/bin/env bash
# Configures and builds the project into build/ (or $BUILD_DIR) with a preset of
# CMakePresets.json ($PRESET, default "default"); further arguments go to the configuration.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# Several build folders of one checkout share their compiled objects.
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
cmake --preset "${PRESET:-default}" -B "$BUILD_DIR" "$@" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
