#!/usr/bin/env bash
# Runs the frame reader fuzz target (built by the fuzz preset into build-fuzz/) for a minute and
# checks that it got through at least a million inputs without a finding.
set -euo pipefail
cd "$(dirname "$0")/.."

target=build-fuzz/bin/fuzz_frame_reader
seconds="${QOV_FUZZ_SECONDS:-60}"
min_runs="${QOV_FUZZ_MIN_RUNS:-1000000}"

if [ ! -x "$target" ]; then
    echo "$target is missing: build it with 'cmake --preset fuzz && cmake --build --preset fuzz'"
    exit 1
fi

corpus=build-fuzz/corpus/frame_reader
# A fresh corpus from the seeds every run, so that runs compare.
rm -rf "$corpus"
mkdir -p "$corpus" build-fuzz/fuzz-artifacts
# Seeds: a request, a reply among control bytes, a broken frame.
printf '\x00\x02006!PTNEXT\x03E37C' >"$corpus/seed-request"
printf '\x07\x16\x16\x02007!APTNEXT\x03D1130\x06' >"$corpus/seed-reply"
printf '\x03junk\x02999!Abc\x02000 \x034C7B' >"$corpus/seed-broken"

log=build-fuzz/fuzz-frame-reader.log
status=0
"$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 -max_len=1100 \
    -artifact_prefix=build-fuzz/fuzz-artifacts/ >"$log" 2>&1 || status=$?
tail -n 25 "$log"

runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
runs=${runs:-0}
if [ "$status" -ne 0 ]; then
    echo "fuzz_frame_reader: finding after $runs inputs (see $log and build-fuzz/fuzz-artifacts/)"
    exit 1
fi
if [ "$runs" -lt "$min_runs" ]; then
    echo "fuzz_frame_reader: only $runs inputs in ${seconds}s (need $min_runs)"
    exit 1
fi
echo "fuzz_frame_reader: $runs inputs in ${seconds}s, no finding"
