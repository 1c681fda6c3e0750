#include "pgs/DecoderModel.h"

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs {
namespace {

std::int64_t TicksAt(std::int64_t bytes, std::int64_t rate) {
  return (kClockRate * bytes + rate - 1) / rate;
}

}  // namespace

std::int64_t PlaneClearTicks(int video_width, int video_height) {
  return TicksAt(static_cast<std::int64_t>(video_width) * video_height, kPlaneWriteRate);
}

std::int64_t DecodeTicks(int width, int height) {
  return TicksAt(static_cast<std::int64_t>(width) * height, kDecodeRate);
}

std::int64_t WriteTicks(int width, int height) {
  return TicksAt(static_cast<std::int64_t>(width) * height, kPlaneWriteRate);
}

}  // namespace tesmora::pgs
