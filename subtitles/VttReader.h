#pragma once

#include <optional>
#include <string_view>

#include "subtitles/CueLook.h"
#include "subtitles/LineList.h"
#include "subtitles/SrtReader.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// Milliseconds of a WebVTT time, "mm:ss.ttt" or "h...h:mm:ss.ttt", written
// alone; empty for anything else.
std::optional<long long> ReadVttTime(std::string_view text);

// The placement a cue's settings ask for ("line:0 position:10%,line-left
// align:start size:50%"), as a browser places a horizontal cue: the box is
// `size` wide (at most what fits beside `position`), stands at `position` by
// its position alignment, and its lines are aligned in it by `align`.
// `x` is the point the lines are aligned on, `width` the box. Without
// `line` the cue stays at the bottom; a line number counts text lines from
// the top (negative: from the bottom), a percentage places the box's top,
// centre or end at that height of the frame. Settings that are not
// understood, vertical text and regions are listed in `ignored` as written,
// and `vertical` says whether the cue asked for vertical text. A cue
// without settings gets an empty placement, and is placed as SRT cues are.
struct VttSettings {
  CuePlacement placement;
  std::vector<std::string> ignored;
  bool vertical = false;
};
VttSettings ReadVttSettings(std::string_view settings);

// Reads the cues of a WebVTT file's lines: the "WEBVTT" line (after a byte
// order mark, if any) and its header, then blocks separated by empty lines.
// NOTE, STYLE and REGION blocks are skipped and counted in `notes`; a cue is
// an optional identifier line, a timing line with optional settings and its
// text lines. Timestamps inside a cue's text (karaoke) are taken out and
// reported once. A file without the "WEBVTT" line is refused with `error`
// and no cue is read. Character references and tags stay in the text: the
// WebVtt markup reads them.
SubtitleReadResult ReadVtt(const LineList& lines, ListTexts listTexts = ListTexts::Made);

}  // namespace tesmora
