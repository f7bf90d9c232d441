#!/usr/bin/env bash
# Runs every benchmark built into build/bin (the *_bench programs) one after another.
set -uo pipefail
cd "$(dirname "$0")/.."

status=0
for bench in build/bin/*_bench; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true || status=1
done
exit $status
