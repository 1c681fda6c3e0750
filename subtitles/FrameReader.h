#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "subtitles/FrameRate.h"
#include "subtitles/LineList.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// A frame rate the user chose for a frame file, and the text it was given
// as, which the reports quote.
struct ChosenFrameRate {
  FrameRate rate;
  std::string text;
};

// The rate text of a frame file's first line: what follows its first two
// brace groups ("{1}{1}25.000"), or its first six characters when it has no
// such groups.
std::string_view FrameRateText(std::string_view firstLine);

// The rates a file's first line may name. A number outside them is no
// video's rate but a cue's text, as in "{250}{300}1944".
inline constexpr long long kLowestFileFrameRate = 1;
inline constexpr long long kHighestFileFrameRate = 200;

// Whether a first line whose rate text reads as `rate` gives the file's rate
// rather than its first cue: the rate lies within the rates above, and the
// line's two frame numbers, if it has them, are equal or 0 and 1
// ("{1}{1}25", "{0}{1}23.976"). "{25}{75}30" is a cue.
bool IsRateLine(std::string_view firstLine, FrameRate rate);

// Reads a MicroDVD frame file's lines: the frame rate from the first line
// where IsRateLine takes it for a rate line, then one cue per
// "{start}{end}text" line. The two frame numbers are the
// line's first two brace groups; whatever follows is the cue's text, "|"
// separating its lines, markup such as "{y:i}" kept. A chosen rate replaces
// the file's own (saying so in `notes`), and stands in for a rate the file
// lacks, whose first line is then read as a cue. Without either the load
// stops with `frameRateMissing`. Stops at a frame field that is not a
// number, or a time too large, with the message in `error`. A cue that
// starts before 0 is read and listed in `earlyCues`.
SubtitleReadResult ReadFrames(const LineList& lines,
                              const std::optional<ChosenFrameRate>& chosen = std::nullopt);

inline constexpr const char* kFrameRateMissingMessage =
    "The first line of the sub must contain the framerate. Ex: {1}{1}25.000";

}  // namespace tesmora
