#pragma once

#include <vector>

#include "timing/Timeline.h"

namespace tesmora::fuzz {

// Plans the timeline of `cues` and stops the run when the plan breaks one of
// its properties, measured against a plain model of when each cue is
// visible: a start outside the time stamp range is refused; subpictures
// start strictly in time order, each with a stop delay, and none is shown
// past the next one's start or more than half a unit past the next change;
// each draws exactly the cues visible at its start, earlier start first;
// every stretch of at least one unit in which a cue is visible starts a
// subpicture; every cue is drawn or reported as left out, never both; and
// the counts of the report are those of the model.
void CheckPlannedTimeline(const std::vector<CueTime>& cues);

}  // namespace tesmora::fuzz
