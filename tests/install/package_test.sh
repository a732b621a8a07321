#!/usr/bin/env bash
# The Debian package as a library or a publisher gets it: made by CPack from this build, checked
# with Debian's own tools, installed into a scratch root, used from there (the installed tool
# packs the sample volume; the installed launcher opens it in an X server from another folder,
# and refuses a folder without a volume), then purged, leaving the root as it was.
# Usage: package_test.sh BUILD_DIR PYTHON (the Python of the end-to-end scenarios)
set -euo pipefail
build=$(cd "$1" && pwd)
python=$2
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# dpkg wants its helper programs on the PATH; fakeroot lets it install without being root.
export PATH=$PATH:/usr/sbin:/sbin
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$scratch/deb" >/dev/null
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$scratch/deb/cartavox_${version}_amd64.deb
[[ -f $deb ]] || fail "no $deb; CPack made: $(ls "$scratch/deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6printsupport6 libqt6svg6 libjpeg62-turbo; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
# Lintian's warnings are shown; its errors fail the test.
lint=0
lintian --fail-on error "$deb" >"$scratch/lintian" 2>&1 || lint=$?
grep -v '^running with root privileges' "$scratch/lintian" || true
((lint == 0)) || fail "lintian finds errors"

root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
listing() { (cd "$root" && find . -path ./var/lib/dpkg -prune -o -print | sort); }
listing >"$scratch/before"
in_root() { fakeroot dpkg --root="$root" --log=/dev/null "$@"; }
# The scratch root holds no other package: the libraries it depends on are the host's.
in_root --force-depends -i "$deb" >/dev/null 2>&1 || fail "dpkg -i failed"
usr=$root/usr

# What Debian's tools say of the desktop entry, the AppStream data and the manual pages.
desktop-file-validate "$usr"/share/applications/*.desktop
appstreamcli validate-tree --no-net "$root" >"$scratch/said" || fail "$(cat "$scratch/said")"
grep -q "<release version=\"$version\"" "$usr"/share/metainfo/*.metainfo.xml ||
    fail "the AppStream releases do not name $version"
logged=$(zcat "$usr/share/doc/cartavox/changelog.gz" | dpkg-parsechangelog -l- -SVersion)
[[ $logged == "$version" ]] || fail "the change log's last entry is $logged, not $version"
pages=("$usr"/share/man/man1/*.1.gz "$usr"/share/man/it/man1/*.1.gz)
((${#pages[@]} == 6)) || fail "expected 6 manual pages, found ${#pages[@]}"
for page in "${pages[@]}"; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [[ -z $out ]] || fail "$page: $out"
done

# The launcher from a terminal's point of view: its version, a viewer's status passed through
# from the volume's own folder, and a folder without a volume refused in Italian.
[[ $("$usr/bin/cartavox" --version) == "cartavox $version" ]] || fail "cartavox --version"
mkdir -p "$scratch/stand-in" "$scratch/empty"
printf '#!/bin/sh\npwd >opened-in\nexit 7\n' >"$scratch/stand-in/Cartavox.exe"
chmod +x "$scratch/stand-in/Cartavox.exe"
status=0
(cd "$scratch/empty" && "$usr/bin/cartavox" ../stand-in) || status=$?
((status == 7)) || fail "the viewer's status 7 came back as $status"
[[ $(cat "$scratch/stand-in/opened-in") == "$scratch/stand-in" ]] || fail "started elsewhere"
status=0
# No screen: the message goes to stderr only.
env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/cartavox" "$scratch/empty" 2>"$scratch/said" ||
    status=$?
((status == 1)) || fail "a folder without a volume ended with status $status"
grep -q "^cartavox: Nella cartella $scratch/empty non c'è un volume di Cartavox" "$scratch/said" ||
    fail "unexpected message: $(cat "$scratch/said")"

# The publisher's tools as installed: the tool packs the installed viewer, found from its own
# folder, into the sample volume.
"$usr/bin/cartavox-sample" "$scratch/scans" --small >/dev/null
"$usr/bin/cartavox-pack" build "$scratch/scans/manifest.json" "$scratch/volume" >/dev/null
viewer=$usr/libexec/cartavox/cartavox-viewer
cmp -s -n "$(stat -c %s "$viewer")" "$viewer" "$scratch/volume/Cartavox.exe" ||
    fail "the volume's Cartavox.exe is not the installed viewer"

CARTAVOX_ROOT=$root CARTAVOX_VOLUME=$scratch/volume "$python" "$here/../e2e/installed.py"

in_root -P cartavox >/dev/null 2>&1 || fail "dpkg -P failed"
if in_root -s cartavox >/dev/null 2>&1; then fail "still known to dpkg after the purge"; fi
listing | diff "$scratch/before" - || fail "the purge left the files above"
echo "package_test: $(basename "$deb") built, checked, installed, used and purged"
