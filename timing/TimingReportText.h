#pragma once

#include <string>
#include <vector>

#include "timing/Timeline.h"

namespace tesmora {

// The sentences that tell the user what the timing changed, one per kind of
// change, in a fixed order; none when nothing changed.
std::vector<std::string> TimingReportLines(const TimingReport& report);

}  // namespace tesmora
