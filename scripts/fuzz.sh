#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $FUZZ_BUILD_DIR) and runs each
# for SECONDS seconds (default 300), starting from the seeds in fuzz/corpus/<target>/. New
# inputs go to build-fuzz/corpus/, findings to build-fuzz/findings/; any finding fails the run.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer_env.sh
seconds=${1:-300}
shift || true
dir=${FUZZ_BUILD_DIR:-build-fuzz}
# Longest input worth trying per target: a product data block is some 36 KB, a small archive
# 26 KB, an entry at least 7705 bytes; small JPEG files keep the decoder's runs short.
declare -A max_len=([fuzz_product_block]=40000 [fuzz_directory]=30000 [fuzz_entry_restore]=20000
                    [fuzz_labels]=1024 [fuzz_bookmark]=256 [fuzz_manifest]=4096
                    [fuzz_jpeg_check]=24000)
targets=("$@")
((${#targets[@]})) || targets=(fuzz_product_block fuzz_directory fuzz_entry_restore fuzz_labels
                               fuzz_bookmark fuzz_manifest fuzz_jpeg_check)
# The JPEG check starts from the real-world corpus's variants too, when it is there.
variants=${CARTAVOX_CORPUS:-tests/data}/jpeg-variants

export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
cmake --preset fuzz -B "$dir" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"

mkdir -p "$dir/findings"
summary=()
total=0
for t in "${targets[@]}"; do
    mkdir -p "$dir/corpus/$t"
    log="$dir/findings/$t.log"
    start=$SECONDS
    status=0
    extra=()
    if [[ $t == fuzz_jpeg_check ]]; then
        extra+=(-dict=fuzz/jpeg_markers.dict)
        if [[ -d $variants ]]; then extra+=("$variants"); fi
    fi
    # Only the first corpus folder receives new inputs: the seeds stay as they are.
    "$dir/bin/$t" "$dir/corpus/$t" "fuzz/corpus/$t" "${extra[@]}" -max_total_time="$seconds" \
        -max_len="${max_len[$t]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$dir/findings/$t-" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    elapsed=$((SECONDS - start))
    total=$((total + elapsed))
    summary+=("$(printf '%-20s %10s runs %5s s' "$t" "${runs:-?}" "$elapsed")")
    if ((status != 0)); then
        tail -n 60 "$log" >&2
        echo "fuzz: $t found a fault (status $status); see $log and $dir/findings/" >&2
        exit 1
    fi
done
printf '%s\n' "${summary[@]}"
echo "fuzz: ${#targets[@]} targets, ${total} s, no finding"
