#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "subtitles/LineList.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// The frame rate an accepted text gives: "23.976", "24.000", "24",
// "25.000", "25", "29.970", "30.000" or "30"; empty for any other text.
std::optional<long double> FrameRateFromText(std::string_view text);

// Reads a MicroDVD frame file's lines: the frame rate from the first line
// (after its first six characters), then one cue per "{start}{end}text"
// line, "|" separating two lines of text. Stops at a frame field that is not
// a number, or a start before 0, with the message in `error`.
SubtitleReadResult ReadFrames(const LineList& lines);

inline constexpr const char* kFrameRateMissingMessage =
    "The first line of the sub must contain the framerate. Ex: {1}{1}25.000";

}  // namespace tesmora
