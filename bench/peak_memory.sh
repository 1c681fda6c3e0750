#!/usr/bin/env bash
# Measures the converter's peak memory (resident set) and wall time on long
# generated films of two-line cues 0.3 s apart, shown 0.24 s each, so that
# 150,000 of them fit the 13 hours of the 90 kHz clock. The peak should stay
# the same order whatever the count, and the time grow in step with it.
#
#   bash bench/peak_memory.sh [PATH_TO_TESMORA_CLI [CUES...]]
#
# CUES default to 15000 and 150000. The converter defaults to
# build-bench/cli/tesmora-cli, a Release build:
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESMORA_BUILD_TESTS=OFF
#   cmake --build build-bench --target tesmora-cli
# Needs GNU time (/usr/bin/time) for the peak.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cli=${1:-$here/../build-bench/cli/tesmora-cli}
shift $(($# > 0 ? 1 : 0))
counts=("$@")
if ((${#counts[@]} == 0)); then
  counts=(15000 150000)
fi
if [[ ! -x $cli ]]; then
  echo "peak_memory.sh: no converter at $cli; build it first (see the head of this script)" >&2
  exit 2
fi
if [[ ! -x /usr/bin/time ]]; then
  echo "peak_memory.sh: GNU time (/usr/bin/time) is needed for the peak" >&2
  exit 2
fi

work=$(mktemp -d /tmp/tesmora-peak-memory.XXXXXX)
trap 'rm -rf "$work"' EXIT
printf '%8s  %10s  %8s  %8s\n' cues 'peak KB' 'wall s' 'user s'
for count in "${counts[@]}"; do
  python3 "$here/make_film.py" "$work/film.srt" "$count" --spacing-ms 300 --duration-ms 240
  /usr/bin/time -o "$work/time" -f '%M %e %U' \
    "$cli" --quiet --output-dir "$work" "$work/film.srt"
  read -r peak wall user <"$work/time"
  printf '%8s  %10s  %8s  %8s\n' "$count" "$peak" "$wall" "$user"
  rm -f "$work"/Generated.* "$work"/Tesmora_Help_File.txt
done
