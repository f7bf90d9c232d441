#!/usr/bin/env bash
# Runs every fuzz target (built by the fuzz preset) from its seeds, each for a minute, and says
# how many inputs each got through; a finding fails the run. The frame reader must get through
# a million inputs a minute.
#   QOV_FUZZ_SECONDS  time per target (default 60)
#   QOV_FUZZ_RUNS     run each target to this many inputs instead, without a time limit
#   QOV_FUZZ_TARGETS  the targets to run (default: all), e.g. "ini_files article_csv"
#   QOV_FUZZ_BUILD    the fuzz build folder (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${QOV_FUZZ_BUILD:-build-fuzz}"
seconds="${QOV_FUZZ_SECONDS:-60}"
runs="${QOV_FUZZ_RUNS:-}"
targets="${QOV_FUZZ_TARGETS:-frame_reader register_replies ini_files article_csv}"

# Seeds of each target, one file per argument after the target's name.
seeds() {
    local dir=$build/corpus/$1 i=0
    shift
    rm -rf "$dir"  # a fresh corpus every run, so that runs compare
    mkdir -p "$dir"
    for seed in "$@"; do
        printf '%b' "$seed" >"$dir/seed-$((i++))"
    done
}

# register_replies: the replies one after another, each ended by a backslash and one more
# character; the reader's number is the last byte (0 departments, 7 articles, 9 status,
# 10 identity, 11 display, 12 memory blocks).
seeds frame_reader '\x00\x02006!PTNEXT\x03E37C' '\x07\x16\x16\x02007!APTNEXT\x03D1130\x06' \
    '\x03junk\x02999!Abc\x02000 \x034C7B'
article='000000004001\x30\x31ARTIKAL BR 1                000001051111000000000000000010000000150000'
seeds register_replies '00ODELJENJE 1 0001000000000012345000000100\\n01KASA 2\\n\x00' \
    "0010000000000020\\\\n${article}\\\\n${article}\\\\n\\x07" \
    '0010000000000003\\n\x09' 'AR0001100000001FM000001\\n\x0a' \
    '1234567890123456 ABCDEFGHIJKLMNOP\\n\x0b' '0123456789ABCDEF0123456789ABCDEF1234\\n\x0c'
seeds ini_files '[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[HEADER]\r\nROW_0=" KOD MILANA "\r\n[DEPARTMENTS]\r\nDESCRIPTION_1=HLEB\r\n[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=True\r\n[SETWDTH]\r\nWDTH=32\r\n' \
    '; comment\n[database]\nConnectionString=Driver=QSQLITE;Database=qov.db\n[modem]\nHangup=ATH0'
seeds article_csv '\x00BAR_CODE;DESCRIPTION;PRICE;VAT_CODE;MES_TYPE;ART_TYPE;ONE_ITEM;DEPARTMENT;INVENTARY\r\n4001;"KAFA; ""DOBRA""";2,50;1;1;1;0;1;10\r\n' \
    '\x01BAR_CODE,DESCRIPTION,PRICE,VAT_CODE,MES_TYPE,ART_TYPE,ONE_ITEM,DEPARTMENT,INVENTARY,TOTAL,QTY\n1,\xc4\x8cOKOLADA,120.5,2,0,3,1,4,5.5,0,0\n'

mkdir -p "$build/fuzz-artifacts"
failed=0
for name in $targets; do
    target=$build/bin/fuzz_$name
    if [ ! -x "$target" ]; then
        echo "$target is missing: build it with 'cmake --preset fuzz && cmake --build --preset fuzz'"
        exit 1
    fi
    limit=(-max_total_time="$seconds")
    [ -n "$runs" ] && limit=(-runs="$runs")
    log=$build/fuzz-$name.log
    status=0
    "$target" "$build/corpus/$name" "${limit[@]}" -print_final_stats=1 -max_len=1100 \
        -artifact_prefix="$build/fuzz-artifacts/$name-" >"$log" 2>&1 || status=$?
    count=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    count=${count:-0}
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz_$name: finding after $count inputs (see $log and $build/fuzz-artifacts/)"
        failed=1
    elif [ "$name" = frame_reader ] && [ -z "$runs" ] && [ "$count" -lt $((seconds * 1000000 / 60)) ]; then
        echo "fuzz_$name: only $count inputs in ${seconds}s (need a million a minute)"
        failed=1
    else
        echo "fuzz_$name: $count inputs, no finding"
    fi
done
exit "$failed"
