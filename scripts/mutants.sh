#!/usr/bin/env bash
# A mutation check of the test suite: each mutation of scripts/mutants.txt (a small change to an
# exact rule) is applied alone to a copy of the tree, which is rebuilt and run against the suite
# without the end-to-end scenarios. A mutant the suite fails is killed; one it passes survived:
# the suite cannot see that fault. Prints each verdict and the kill rate. Slow (a rebuild and a
# suite run per mutant); not part of the test command.
#
# Usage: scripts/mutants.sh [--rev REVISION] [PATTERN]
#   --rev   mutate the tree of a commit instead of the working tree's tracked files
#   PATTERN run only the mutants whose description contains it
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
rev=""
if [[ ${1:-} == --rev ]]; then
    rev=$2
    shift 2
fi
pattern=${1:-}
work=${MUTANTS_DIR:-$root/build-mutants}
tree=$work/tree
build=$work/build

rm -rf "$tree"
mkdir -p "$tree"
if [[ -n $rev ]]; then
    git archive "$rev" | tar -x -m -C "$tree"
else
    git ls-files -z | xargs -0 tar -cf - | tar -x -m -C "$tree"
fi

export CCACHE_NOHASHDIR=true CCACHE_BASEDIR=$tree
if [[ -f $tree/CMakePresets.json ]]; then
    (cd "$tree" && cmake --preset mutants -B "$build" >/dev/null)
else # an older tree
    cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# The tests and what they run, nothing more.
build_all() { cmake --build "$build" -j "$(nproc)" --target tests/all >"$work/build.log" 2>&1; }
suite() { (cd "$build" && ctest -LE 'e2e' -j "$(nproc)" --timeout 300 --stop-on-failure \
    >"$work/suite.log" 2>&1); }

build_all || { echo "mutants: the unmutated tree does not build; see $work/build.log" >&2; exit 1; }
suite || { echo "mutants: the unmutated suite fails; see $work/suite.log" >&2; exit 1; }

killed=0 survived=0 skipped=0
survivors=()
# mutants.txt: blocks of four lines (description, file, text to find, its replacement) separated
# by a blank line; "⏎" in the texts stands for a line break. The text must occur exactly once.
while IFS=$'\t' read -r description file find replace; do
    [[ -n $pattern && $description != *"$pattern"* ]] && continue
    target=$tree/$file
    if ! python3 - "$target" "$find" "$replace" <<'PY'; then
import sys
path, find, replace = (sys.argv[1], sys.argv[2].replace("⏎", "\n"), sys.argv[3].replace("⏎", "\n"))
text = open(path).read()
if text.count(find) != 1:
    sys.exit(1)
open(path + ".orig", "w").write(text)
open(path, "w").write(text.replace(find, replace))
PY
        printf '%-9s %s\n' "n/a" "$description ($file: text not found once)"
        skipped=$((skipped + 1))
        continue
    fi
    if ! build_all; then
        verdict="no build"
        skipped=$((skipped + 1))
    elif suite; then
        verdict="SURVIVED"
        survived=$((survived + 1))
        survivors+=("$description")
    else
        verdict="killed"
        killed=$((killed + 1))
    fi
    mv "$target.orig" "$target"
    # Newer than the mutant's objects, so that the next build compiles the original again: the
    # file put back keeps the time it was read at, older than what the mutant built.
    touch "$target"
    printf '%-9s %s\n' "$verdict" "$description"
done < <(python3 - "$root/scripts/mutants.txt" <<'PY'
import sys
blocks = open(sys.argv[1]).read().strip().split("\n\n")
for block in blocks:
    lines = [l for l in block.split("\n") if not l.startswith("#")]
    if len(lines) == 4:
        print("\t".join(lines))
PY
)
build_all || true # leave the copy as the tree is
total=$((killed + survived))
echo "mutants: $killed killed, $survived survived, $skipped not applicable or not built"
((total > 0)) && echo "kill rate: $((100 * killed / total)) % ($killed of $total)"
for s in "${survivors[@]}"; do echo "survivor: $s"; done
