#pragma once

#include <vector>

#include "hdrender/RgbaRegion.h"

namespace tesmora {

// Which regions of a frame show forced events.
struct ForcedMarks {
  std::vector<bool> forced;  // one per region
  // A forced region also holds text of events that are not forced: they
  // were drawn too close together to be told apart.
  bool mixed = false;
};

// Marks the regions of a frame that show forced events, given the same
// frame drawn with the forced events alone: a region is forced when it
// meets one of those regions. A region reaching beyond the forced regions it
// meets holds other text as well and is marked `mixed`.
ForcedMarks MarkForcedRegions(const std::vector<RgbaRegion>& regions,
                              const std::vector<RgbaRegion>& forcedAlone);

}  // namespace tesmora
