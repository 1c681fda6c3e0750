#pragma once

#include <optional>
#include <vector>

#include "subtitles/SubtitleList.h"
#include "timing/TimeChange.h"

namespace tesmora::fuzz {

// Changes the times of `cues` as the converter does and stops the run when
// the result breaks a property: a rate conversion scales every start and
// end to the nearest ms, keeps the order of starts and of ends, keeps a
// start at or after 0 and an end at or after its start; a shift moves every
// start by exactly the shift and keeps the durations, and is refused if and
// only if it would move a cue from 0 or later to before 0 (a cue read before
// 0 is the readers' to refuse); the text lines stay. Empty when the
// change is refused.
std::optional<std::vector<SubtitleEntry>> CheckChangeCueTimes(
    const std::vector<SubtitleEntry>& cues, const std::optional<RateConversion>& conversion,
    long long shiftMs);

}  // namespace tesmora::fuzz
