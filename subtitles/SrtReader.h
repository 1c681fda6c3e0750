#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "subtitles/LineList.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// Milliseconds of an "HH:MM:SS,cc" field (11 characters; the separators are
// not looked at), to a hundredth of a second. Throws IntegerError for a part
// that is not an integer.
long long SrtTimeToMs(std::string_view field);

// Start and end of a timing line written less strictly: any number of hour
// digits, "," or "." before the fraction, one to three fraction digits (read
// to the hundredth, like the strict form), blanks around "-->" and anything
// after the end time, such as position coordinates. Empty when the line is
// no such timing line.
struct LooseTiming {
  long long startMs;
  long long endMs;
};
std::optional<LooseTiming> ReadLooseTiming(std::string_view line);

// Reads the cues of an SRT file's lines. A timing line is followed by one or
// two text lines; further text lines are passed over. A timing line
// followed by an empty line is dropped as a whole. Stops at a time field that
// is not a number, or a start before 0, with the message in `error`.
SubtitleReadResult ReadSrt(const LineList& lines);

}  // namespace tesmora
