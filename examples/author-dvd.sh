#!/usr/bin/env bash
# Makes a DVD folder with working subtitles from a video file and a
# subtitle file, with free tools only:
#
#   tesmora-cli  the subtitles as a VobSub pair and a palette file for dvdauthor
#   ffmpeg       the video re-encoded for DVD, muxed with the subtitle stream
#   dvdauthor    the DVD folder (VIDEO_TS) with the palette in its IFO
#
# Usage:
#   examples/author-dvd.sh VIDEO SUBTITLE OUTDIR [--ntsc] [tesmora-cli options]
#
# OUTDIR/dvd becomes the disc folder (burn it or play it with
# `vlc dvd://OUTDIR/dvd`); OUTDIR/work keeps the subtitle files Tesmora
# wrote. Options after OUTDIR other than --ntsc go to tesmora-cli, such as
# --ifo FILE, --font NAME, --size N, --language CODE or --forced.
# TESMORA_CLI names the converter; by default the one on PATH, else the one
# in build/ of this source tree.
# Debian packages: ffmpeg, dvdauthor.
set -euo pipefail

program=$(basename "$0")
fail() {
  echo "$program: $*" >&2
  exit 1
}

if [[ $# -lt 3 ]]; then
  echo "Usage: $program VIDEO SUBTITLE OUTDIR [--ntsc] [tesmora-cli options]" >&2
  exit 2
fi
video=$1
subtitle=$2
outdir=$3
shift 3

standard=pal
language=en
options=()
for option in "$@"; do
  case $option in
    --ntsc) standard=ntsc ;;
    *) options+=("$option") ;;
  esac
done
# The language of the subtitle track, for the DVD's stream attributes too.
for ((i = 0; i < ${#options[@]}; i++)); do
  case ${options[i]} in
    --language=*) language=${options[i]#--language=} ;;
    --language) language=${options[i + 1]:-en} ;;
  esac
done
language=${language,,}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cli=${TESMORA_CLI:-$(command -v tesmora-cli || echo "$here/../build/tools/tesmora-cli")}
[[ -x $cli ]] || fail "no tesmora-cli at $cli; build it or set TESMORA_CLI"
for tool in ffmpeg ffprobe dvdauthor; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (Debian: apt-get install ffmpeg dvdauthor)"
done
[[ -f $video ]] || fail "no video file $video"
[[ -f $subtitle ]] || fail "no subtitle file $subtitle"

mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd)
disc=$outdir/dvd
work=$outdir/work
# dvdauthor adds titles to a disc folder that exists; a second run would
# leave two copies of the film on the disc.
[[ ! -e $disc ]] || fail "$disc exists already; remove it or choose another OUTDIR"
mkdir -p "$work"

# 1. The subtitles: subtitles.idx + subtitles.sub and the palette subtitles.rgb.
#    The IFO of --ifo gives the standard itself.
standard_option=(--standard "$standard")
for option in "${options[@]}"; do
  [[ $option == --ifo || $option == --ifo=* ]] && standard_option=()
done
"$cli" --quiet --format vobsub,rgb --name subtitles --output-dir "$work" \
  "${standard_option[@]}" "${options[@]}" -- "$subtitle"

# 2. The video in DVD form with the subtitle stream, the audio if there is
#    one. The display aspect is the nearer of the DVD's two.
info=$(ffprobe -v error -select_streams v:0 \
  -show_entries stream=width,height,sample_aspect_ratio -of csv=p=0 "$video") ||
  fail "ffprobe cannot read $video"
IFS=, read -r width height sar <<<"$info"
[[ $width =~ ^[0-9]+$ && $height =~ ^[0-9]+$ ]] || fail "no video stream in $video"
[[ $sar =~ ^[0-9]+:[0-9]+$ && $sar != 0:1 ]] || sar=1:1
aspect=$(awk -v w="$width" -v h="$height" -v s="$sar" 'BEGIN {
  split(s, r, ":"); dar = w * r[1] / (h * r[2]); print (dar >= 1.555 ? "16:9" : "4:3") }')
ffmpeg -nostdin -v warning -i "$video" -i "$work/subtitles.idx" \
  -map 0:v:0 -map '0:a:0?' -map 1:s:0 -c:s copy \
  -target "$standard-dvd" -aspect "$aspect" -y "$work/title.mpg"

# 3. The disc: one title with the subtitle track, its language and palette.
xml_text() {
  local text=${1//&/&amp;}
  text=${text//</&lt;}
  text=${text//>/&gt;}
  printf '%s' "${text//\"/&quot;}"
}
cat >"$work/dvd.xml" <<XML
<dvdauthor dest="$(xml_text "$disc")">
  <vmgm />
  <titleset>
    <titles>
      <video format="$standard" aspect="$aspect" />
      <subpicture lang="$(xml_text "$language")" />
      <pgc palette="$(xml_text "$work/subtitles.rgb")">
        <vob file="$(xml_text "$work/title.mpg")" />
      </pgc>
    </titles>
  </titleset>
</dvdauthor>
XML
VIDEO_FORMAT=${standard^^} dvdauthor -x "$work/dvd.xml" >"$work/dvdauthor.log" 2>&1 ||
  { cat "$work/dvdauthor.log" >&2; fail "dvdauthor failed"; }
grep -E '^(WARN|ERR)' "$work/dvdauthor.log" >&2 || true
rm -f "$work/title.mpg"

echo "DVD folder: $disc"
