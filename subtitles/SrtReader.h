#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "subtitles/LineList.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// Milliseconds of an "HH:MM:SS,mmm" field (12 characters; the separators are
// not looked at). Throws IntegerError for a part that is not an integer.
long long SrtTimeToMs(std::string_view field);

// Start and end of a timing line written less strictly: any number of hour
// digits (a "-" before them makes the time negative), "," or "." before the
// fraction, one to three fraction digits ("5" being 500 ms), blanks around
// "-->" and anything after the end time, such as position coordinates. Empty
// when the line is no such timing line.
struct LooseTiming {
  long long startMs;
  long long endMs;
};
std::optional<LooseTiming> ReadLooseTiming(std::string_view line);

// A timing line in the fixed layout "HH:MM:SS,mmm --> HH:MM:SS,mmm" or
// written loosely. Empty for any other line, such as a cue's text that holds
// an arrow ("Look --> there").
std::optional<LooseTiming> ReadTimingLine(std::string_view line);

// Reads the cues of an SRT file's lines. A timing line is followed by the
// cue's text lines, up to the next timing line, a line of only a number
// directly followed by a line with an arrow (the next cue, where the empty
// line before it is missing), or empty lines followed by one of these, a
// line with an arrow or the end of the file. A line of blanks is text, and
// so are empty lines followed by more text. A cue without text is left out
// and reported in `notes`. Lines with an arrow that stand where a timing
// line is expected but do not read as one are counted. A cue that starts
// before 0 is read and listed in `earlyCues`.
//
// With ListTexts::Made each cue's list text is its lines joined by " | ";
// a reader that shows no list skips them, which saves a copy of the text.
enum class ListTexts { Made, Skipped };
SubtitleReadResult ReadSrt(const LineList& lines, ListTexts listTexts = ListTexts::Made);

}  // namespace tesmora
