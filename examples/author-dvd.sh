#!/usr/bin/env bash
# Makes a DVD folder with working subtitles from a video file and a
# subtitle file, with free tools only:
#
#   tesmora-cli  the subtitles as a VobSub pair and a palette file for dvdauthor
#   ffmpeg       the video and audio re-encoded for DVD
#   tesmora-mux  the subtitle packs multiplexed into the DVD program stream
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
# in build/ of this source tree. tesmora-mux is taken from beside it, or from
# TESMORA_MUX.
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
content=
options=()
for option in "$@"; do
  case $option in
    --ntsc) standard=ntsc ;;
    --forced)
      content=forced
      options+=("$option")
      ;;
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
cli=${TESMORA_CLI:-$(command -v tesmora-cli || echo "$here/../build/cli/tesmora-cli")}
[[ -x $cli ]] || fail "no tesmora-cli at $cli; build it or set TESMORA_CLI"
mux=${TESMORA_MUX:-$(dirname "$cli")/tesmora-mux}
[[ -x $mux ]] || fail "no tesmora-mux at $mux; build it or set TESMORA_MUX"
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

# 2. The video in DVD form, the audio if there is one. The display aspect is
#    the nearer of the DVD's two.
info=$(ffprobe -v error -select_streams v:0 \
  -show_entries stream=width,height,sample_aspect_ratio -of csv=p=0 "$video") ||
  fail "ffprobe cannot read $video"
IFS=, read -r width height sar <<<"$info"
[[ $width =~ ^[0-9]+$ && $height =~ ^[0-9]+$ ]] || fail "no video stream in $video"
[[ $sar =~ ^[0-9]+:[0-9]+$ && $sar != 0:1 ]] || sar=1:1
aspect=$(awk -v w="$width" -v h="$height" -v s="$sar" 'BEGIN {
  split(s, r, ":"); dar = w * r[1] / (h * r[2]); print (dar >= 1.555 ? "16:9" : "4:3") }')
ffmpeg -nostdin -v warning -i "$video" -map 0:v:0 -map '0:a:0?' \
  -target "$standard-dvd" -aspect "$aspect" -y "$work/video.mpg"

# 3. The subtitle packs into that stream. FFmpeg's DVD muxer cannot do this
#    step: it packs the start of a subpicture into the PES packet of the one
#    before when they start less than about half a second apart, and that
#    unit loses its time stamp on the disc. tesmora-mux gives every unit a
#    packet of its own with its PTS.
"$mux" "$work/video.mpg" "$work/subtitles.sub" "$work/title.mpg"
rm -f "$work/video.mpg"

# 4. The disc: one title with the subtitle track, its language and palette.
xml_text() {
  local text=${1//&/&amp;}
  text=${text//</&lt;}
  text=${text//>/&gt;}
  printf '%s' "${text//\"/&quot;}"
}
# With --forced, the track's attributes say so, and players show it
# whatever the viewer chose. (dvdauthor takes content= on the subpicture
# element; its manual shows it on <stream>, which it refuses.)
subpicture_element() {
  local content_attribute=
  [[ -n $content ]] && content_attribute=" content=\"$content\""
  printf '      <subpicture lang="%s"%s />' "$(xml_text "$language")" "$content_attribute"
}
cat >"$work/dvd.xml" <<XML
<dvdauthor dest="$(xml_text "$disc")">
  <vmgm />
  <titleset>
    <titles>
      <video format="$standard" aspect="$aspect" />
$(subpicture_element)
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
