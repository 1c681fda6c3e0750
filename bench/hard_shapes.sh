#!/usr/bin/env bash
# Measures the converter's wall time, peak memory (resident set) and exit
# status on the shapes of bench/make_hard_shapes.py: one long line with
# --wrap, a line of "<i>" tags (1 MB and 64 MiB), staircases of overlapping
# cues, many identical cues and one cue of 200,000 lines in each input
# format. Each must finish in seconds, or be refused at once, whatever its
# size.
#
#   bash bench/hard_shapes.sh [PATH_TO_TESMORA_CLI]
#
# The converter defaults to build/cli/tesmora-cli. Needs GNU time.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cli=${1:-$here/../build/cli/tesmora-cli}
if [[ ! -x $cli ]]; then
  echo "hard_shapes.sh: no converter at $cli; build it first" >&2
  exit 2
fi
work=$(mktemp -d /tmp/tesmora-hard-shapes.XXXXXX)
trap 'rm -rf "$work"' EXIT

# measure_as EXTENSION NAME SHAPE SIZE [CONVERTER OPTIONS...]
measure_as() {
  local extension=$1 name=$2 shape=$3 size=$4
  shift 4
  local input=$work/in.$extension
  python3 "$here/make_hard_shapes.py" "$shape" "$input" "$size"
  local status=0
  /usr/bin/time -o "$work/time" -f '%e %M' \
    "$cli" --quiet --output-dir "$work" "$@" "$input" >/dev/null 2>"$work/err" || status=$?
  read -r wall peak < <(tail -n 1 "$work/time")
  printf '%-28s %8s s %10s KB  exit %s  %s\n' "$name" "$wall" "$peak" "$status" \
    "$(head -c 100 "$work/err" | tr '\n' ' ')"
  rm -f "$input"
}

measure() {
  measure_as srt "$@"
}

measure "long line 1.3 MB --wrap" long-line --bytes=1300000 --wrap
measure "long line 64 MiB --wrap" long-line --bytes=67000000 --wrap
measure "styled line 64 MiB --wrap" styled-line --bytes=67000000 --wrap
measure "<i> x 1 MB" italics --bytes=1000000
measure "<i> x 64 MiB" italics --bytes=67000000
measure "staircase 1,000" staircase --cues=1000
measure "staircase 2,000" staircase --cues=2000
measure "staircase 8,000" staircase --cues=8000
measure "identical 128,000" identical --cues=128000
for extension in srt sub vtt ass; do
  measure_as "$extension" "200,000 lines, .$extension" tall --lines=200000
done
