#!/usr/bin/env bash
# Times tesmora-cli converting a generated film of 1,500 two-line cues
# (about 35 characters a line, default style, generic palette, PAL).
#
#   bash bench/cli_bench.sh [PATH_TO_TESMORA_CLI [tesmora-cli options]]
#
# such as `bash bench/cli_bench.sh build-bench/cli/tesmora-cli --format all`
# for the stream, the VobSub pair and the palette file together.
# The converter defaults to build-bench/cli/tesmora-cli, a Release build:
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESMORA_BUILD_TESTS=OFF
#   cmake --build build-bench --target tesmora-cli
# Uses hyperfine when it is installed, else /usr/bin/time, else bash's time.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cli=${1:-$here/../build-bench/cli/tesmora-cli}
shift $(($# > 0 ? 1 : 0))
if [[ ! -x $cli ]]; then
  echo "cli_bench.sh: no converter at $cli; build it first (see the head of this script)" >&2
  exit 2
fi

work=$(mktemp -d /tmp/tesmora-cli-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 "$here/make_film.py" "$work/film.srt" 1500
run=("$cli" --quiet --output-dir "$work" "$@" "$work/film.srt")

# One run first: it must convert, and it warms the file and font caches.
"${run[@]}"
echo "film: 1500 cues; written:"
(cd "$work" && stat -c '  %n: %s bytes' Generated.*)

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 1 --runs 10 "$(printf '%q ' "${run[@]}")"
elif [[ -x /usr/bin/time ]]; then
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f '%e s elapsed, %U s user, %M KB peak' "${run[@]}"
  done
else
  for _ in 1 2 3 4 5; do
    time "${run[@]}"
  done
fi
