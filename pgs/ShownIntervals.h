#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pgs/ObjectLayout.h"
#include "pgs/Segments.h"

namespace tesmora::pgs {

struct TimedPicture;

// A stretch of time in which the same pictures are shown: their regions in
// the order the pictures start (drawn in that order), and the number
// (1-based, in the order given) of the last of them to start.
struct ShownInterval {
  std::int64_t start = 0;
  std::int64_t end = 0;
  int number = 0;
  std::vector<const PlacedPicture*> regions;
  bool forced = false;     // every region is shown as forced
  bool droppable = false;  // left out when the player cannot show it before its end
  std::optional<Window> reach = std::nullopt;  // the window of a new epoch for its one object
};

// Splits pictures that overlap in time into consecutive intervals, each
// showing every picture on screen then together, so a picture that starts
// while another is shown neither hides nor cuts it short. Pictures that do
// not overlap come through as they are; empty or backward ones are left out.
// The intervals point into `pictures`.
std::vector<ShownInterval> SplitIntoShownIntervals(std::span<const TimedPicture> pictures);

}  // namespace tesmora::pgs
