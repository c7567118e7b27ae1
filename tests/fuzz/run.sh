#!/usr/bin/env bash
# Runs fuzz targets built with VANTRELO_FUZZ under libFuzzer, each for a bounded time.
# Usage: run.sh BUILD_FOLDER SECONDS TARGET...   (TARGET: parse_decimal, number_format, ...)
# New inputs gather in BUILD_FOLDER/fuzz-corpus/TARGET, so the seed corpus in the tree stays the
# handful of files it is; a finding is written to BUILD_FOLDER/fuzz-findings/ and fails the run.
set -euo pipefail
build=$(realpath "$1")
seconds=$2
shift 2
here=$(dirname "$(realpath "$0")")

for target in "$@"; do
    work="$build/fuzz-corpus/$target"
    findings="$build/fuzz-findings"
    mkdir -p "$work" "$findings"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$findings/$target-")
    # The settings loader reads in 4 KiB loads: its inputs must be able to span a few of them.
    case $target in
        settings_file) options+=(-max_len=16384) ;;
        number_format) options+=(-max_len=64) ;;
    esac
    if [ -f "$here/$target.dict" ]; then
        options+=(-dict="$here/$target.dict")
    fi
    echo "fuzzing $target for $seconds s"
    "$build/tests/fuzz/${target}_fuzz" "${options[@]}" "$work" "$here/corpus/$target"
done
