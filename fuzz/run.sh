#!/usr/bin/env bash
# Runs every fuzz target of a build for a bounded time and sums up.
# Usage: fuzz/run.sh BUILD_DIR SECONDS_PER_TARGET
# The corpus each run grows stays in BUILD_DIR/fuzz/corpus-<target>, so
# later runs go on from it; findings go to BUILD_DIR/fuzz/findings/.
set -uo pipefail
build=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../reader/tests/data
mkdir -p "$build/fuzz/findings"
# Qt's offscreen platform never frees its screen; nothing else is excused.
export LSAN_OPTIONS=suppressions=$here/../cmake/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1
failed=0
for target in config bookmarks readingstate adconfig textdecoder; do
    corpus=$build/fuzz/corpus-$target
    mkdir -p "$corpus"
    seeds=("$here/corpus/$target")
    case $target in
    bookmarks) seeds+=("$data") ;;
    textdecoder) seeds+=("$data") ;;
    esac
    log=$build/fuzz/$target.log
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/fuzz/findings/$target-" \
        "$corpus" "${seeds[@]}" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [ $status -eq 0 ]; then
        echo "fuzz_$target: ${runs:-?} inputs in ${seconds} s, nothing found ($(ls "$corpus" | wc -l) in the corpus)"
    else
        failed=1
        echo "fuzz_$target: FOUND something after ${runs:-?} inputs; see $log and $build/fuzz/findings/"
        grep -m3 -E "^(==[0-9]+==ERROR|broken:|SUMMARY)" "$log" | sed 's/^/    /'
    fi
done
exit $failed
