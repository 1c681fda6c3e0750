#pragma once

#include <cstdint>

namespace tesmora::pgs {

// The durations, in 90 kHz ticks rounded up, that the player's graphics
// decoder takes: clearing the whole plane, decoding an object into the
// object buffer and writing a window to the plane.
std::int64_t PlaneClearTicks(int video_width, int video_height);
std::int64_t DecodeTicks(int width, int height);
std::int64_t WriteTicks(int width, int height);

}  // namespace tesmora::pgs
