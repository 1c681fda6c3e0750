#pragma once

#include <optional>

namespace tesmora {

// The video a high-definition subtitle stream is drawn for: its frame in
// pixels and its frame rate as a fraction (24000/1001 for 23.976).
struct HdTarget {
  int width = 1920;
  int height = 1080;
  int rateNumerator = 24000;
  int rateDenominator = 1001;

  friend bool operator==(const HdTarget&, const HdTarget&) = default;
};

// The frame of a video of `lines` lines: 1080 (1920×1080), 720 (1280×720),
// 576 (720×576) or 480 (720×480), at 23.976 frames a second; no target for
// any other number.
std::optional<HdTarget> HdTargetForLines(int lines);

// The first time in ms, rounded up, at which frame `frame` of the target's
// rate is shown.
long long FrameStartMs(const HdTarget& target, long long frame);

// The number of the frame shown at `ms` (the last one starting at or before it).
long long FrameAtMs(const HdTarget& target, long long ms);

}  // namespace tesmora
