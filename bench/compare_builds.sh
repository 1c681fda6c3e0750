#!/usr/bin/env bash
# Compares two builds of tesmora-cli in one hyperfine command, so both are
# measured under the same load: the 1,500-cue film (whole process, default
# threads and one thread) and the start-up (a one-cue file).
#
#   bash bench/compare_builds.sh OLD_TESMORA_CLI NEW_TESMORA_CLI [RUNS]
#
# Both runs of each pair must write the same Generated.sup; the script stops
# when they differ.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
old=$1
new=$2
runs=${3:-10}
for cli in "$old" "$new"; do
  if [[ ! -x $cli ]]; then
    echo "compare_builds.sh: no converter at $cli" >&2
    exit 2
  fi
done

work=$(mktemp -d /tmp/tesmora-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 "$here/make_film.py" "$work/film.srt" 1500
printf '1\r\n00:00:01,000 --> 00:00:02,000\r\nOne line.\r\n' >"$work/one.srt"
mkdir -p "$work/old" "$work/new"

"$old" --quiet --output-dir "$work/old" "$work/film.srt"
"$new" --quiet --output-dir "$work/new" "$work/film.srt"
if ! cmp -s "$work/old/Generated.sup" "$work/new/Generated.sup"; then
  echo "compare_builds.sh: the two builds write different streams" >&2
  exit 1
fi
"$new" -j 1 --quiet --output-dir "$work/new" "$work/film.srt"
cmp "$work/old/Generated.sup" "$work/new/Generated.sup"

hyperfine -N --warmup 1 --runs "$runs" \
  -n "old film" "$(printf '%q ' "$old" --quiet --output-dir "$work/old" "$work/film.srt")" \
  -n "new film" "$(printf '%q ' "$new" --quiet --output-dir "$work/new" "$work/film.srt")" \
  -n "old film -j 1" "$(printf '%q ' "$old" -j 1 --quiet --output-dir "$work/old" "$work/film.srt")" \
  -n "new film -j 1" "$(printf '%q ' "$new" -j 1 --quiet --output-dir "$work/new" "$work/film.srt")"
hyperfine -N --warmup 3 --runs $((runs * 3)) \
  -n "old start-up" "$(printf '%q ' "$old" -j 1 --quiet --output-dir "$work/old" "$work/one.srt")" \
  -n "new start-up" "$(printf '%q ' "$new" -j 1 --quiet --output-dir "$work/new" "$work/one.srt")"
