#pragma once

#include <cstdint>
#include <optional>

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs {

// The video the subtitles go with: its size and frame rate.
struct VideoFormat {
  int width = 1920;
  int height = 1080;
  FrameRateCode frame_rate = FrameRateCode::Film;
};

// The video format of a height (1080, 720, 576, 480) at a frame rate given
// as its code's nominal name (23.976, 24, 25, 29.97, 50, 59.94); nothing for
// any other.
std::optional<VideoFormat> VideoFormatOf(int height, double frames_per_second);

// A frame rate as frames per `denominator` seconds: 24000 / 1001 for 23.976.
struct ExactRate {
  std::int64_t numerator = 24000;
  std::int64_t denominator = 1001;
};

ExactRate ExactRateOf(FrameRateCode rate);

// One frame's duration in 90 kHz ticks, rounded up (3754 at 23.976).
std::int64_t FrameTicks(FrameRateCode rate);

// The first frame start at or after `ticks`, in ticks: the frame's start
// in whole milliseconds, rounded up, as the pictures drawn for each frame
// are timed.
std::int64_t FrameStartAtOrAfter(FrameRateCode rate, std::int64_t ticks);

}  // namespace tesmora::pgs
