#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "subtitles/SubtitleList.h"

namespace tesmora {

// Whether a cue read with `startMs` is to be added to `result.earlyCues`: it
// starts before 0, and before every early cue recorded so far. A shift or a
// rate conversion moves all starts alike and keeps their order, so a cue
// that starts no earlier than an early cue before it is still before 0 only
// when that one is too; the first cue left before 0 is always a recorded
// one, and a file of many early cues keeps few messages.
bool IsNewEarliestCue(const SubtitleReadResult& result, long long startMs);

// The message of the first recorded cue (in file order) that still starts
// before 0 in `entries`, the cues as read and then shifted or converted;
// empty when none does.
std::string StillEarlyCueMessage(const std::vector<SubtitleEntry>& entries,
                                 const std::vector<EarlyCue>& earlyCues);

}  // namespace tesmora
