#include "pgs/VideoFormat.h"

#include <algorithm>
#include <cmath>

namespace tesmora::pgs {
namespace {

struct RateName {
  double fps;
  FrameRateCode code;
  std::int64_t numerator;  // frames per second as numerator / denominator
  std::int64_t denominator;
};

constexpr RateName kRates[] = {
    {23.976, FrameRateCode::Film, 24000, 1001}, {24.0, FrameRateCode::Film24, 24, 1},
    {25.0, FrameRateCode::Pal, 25, 1},          {29.97, FrameRateCode::Ntsc, 30000, 1001},
    {50.0, FrameRateCode::Pal50, 50, 1},        {59.94, FrameRateCode::Ntsc60, 60000, 1001},
};

}  // namespace

std::optional<VideoFormat> VideoFormatOf(int height, double frames_per_second) {
  int width = 0;
  switch (height) {
    case 1080:
      width = 1920;
      break;
    case 720:
      width = 1280;
      break;
    case 576:
    case 480:
      width = 720;
      break;
    default:
      return std::nullopt;
  }
  for (const RateName& rate : kRates) {
    if (std::abs(rate.fps - frames_per_second) < 0.005) {
      return VideoFormat{width, height, rate.code};
    }
  }
  return std::nullopt;
}

std::int64_t FrameStartAtOrAfter(FrameRateCode code, std::int64_t ticks) {
  RateName chosen = kRates[0];
  for (const RateName& rate : kRates) {
    if (rate.code == code) {
      chosen = rate;
    }
  }
  const auto frameStartMs = [&chosen](std::int64_t frame) {
    const std::int64_t scaled = frame * 1000 * chosen.denominator;
    return (scaled + chosen.numerator - 1) / chosen.numerator;
  };
  // The frame at or before `ticks`, then on until one starts at or after it.
  std::int64_t frame =
      std::max<std::int64_t>(0, ticks * chosen.numerator / (kClockRate * chosen.denominator) - 1);
  while (frameStartMs(frame) * 90 < ticks) {
    ++frame;
  }
  return frameStartMs(frame) * 90;
}

ExactRate ExactRateOf(FrameRateCode code) {
  for (const RateName& rate : kRates) {
    if (rate.code == code) {
      return {rate.numerator, rate.denominator};
    }
  }
  return {};
}

std::int64_t FrameTicks(FrameRateCode code) {
  const ExactRate rate = ExactRateOf(code);
  return (kClockRate * rate.denominator + rate.numerator - 1) / rate.numerator;
}

}  // namespace tesmora::pgs
