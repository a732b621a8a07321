#!/usr/bin/env bash
# Builds the Debian package cartavox_<version>_amd64.deb in build-deb/ (or $PACKAGE_BUILD_DIR):
# installs what is missing, compiles what the package installs with Debian's build flags
# (dpkg-buildflags, hardening included), makes the package with CPack (dependencies from
# dpkg-shlibdeps) and checks it with lintian, whose errors fail the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
dir=${PACKAGE_BUILD_DIR:-build-deb}
# Several build folders of one checkout share their compiled objects.
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
# CMake reads no CPPFLAGS: Debian's preprocessor flags (fortification) go with the compiler's.
flags() { dpkg-buildflags --get "$1"; }
cmake --preset package -B "$dir" -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target installed
deb=$(cd "$dir" && cpack | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
[[ -f $deb ]] || { echo "package: CPack made no package" >&2; exit 1; }
lint=$(lintian --fail-on error "$deb" 2>&1) || { echo "$lint" >&2; exit 1; }
grep -v '^running with root privileges' <<<"$lint" || true
echo "Pacchetto Debian: $deb"
