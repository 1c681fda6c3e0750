#pragma once

#include <cstddef>
#include <vector>

#include "subtitles/SubtitleList.h"
#include "timing/Timeline.h"

namespace tesmora {

// The start and end of each cue, in list order, as the timeline plans them.
std::vector<CueTime> CueTimesOf(const std::vector<SubtitleEntry>& entries);

// The list positions of the cues in time order: by start, cues that start
// together keeping their list order.
std::vector<std::size_t> TimeOrder(const std::vector<CueTime>& cues);

}  // namespace tesmora
