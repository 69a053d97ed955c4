#!/usr/bin/env bash
# Runs one fuzzer for a bounded time on a scratch copy of its seeds, so the
# committed seeds stay as they are. Any finding (a failed check, a sanitizer
# report, a crash, a leak, a hang) fails the run; its input is kept in the
# findings folder to replay with: <fuzzer> <input>.
# Usage: run_fuzzer.sh <fuzzer> <seed folder> <seconds> <findings folder>
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3 findings=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$seeds/." "$work/"
mkdir -p "$findings"

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work"
