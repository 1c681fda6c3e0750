#!/usr/bin/env bash
# Instructions per EncodeFields call of one benchmark, counted by callgrind;
# repeatable even on a busy machine, unlike timings.
#   bash bench/callgrind_per_call.sh ./build-bench/bench/tesmora_bench TwoLineBand
set -euo pipefail
binary=$1
filter=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='tesmora::EncodeFields*' \
  "$binary" --benchmark_filter="$filter" --benchmark_min_time=0.05 >/dev/null 2>&1
instructions=$(callgrind_annotate "$out" | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
id=$(grep -o 'fn=([0-9]*) tesmora::EncodeFields(' "$out" | head -n 1 | grep -o '([0-9]*)' || true)
calls=$(grep -A1 -F "cfn=$id" "$out" | awk -F'[= ]' '/^calls=/ {sum += $2} END {print sum}')
echo "$filter: $((instructions / calls)) instructions a call ($calls calls)"
