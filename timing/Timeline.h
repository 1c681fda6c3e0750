#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/CueTime.h"

namespace tesmora {

// One subpicture to write: its time stamp in ticks of the 90 kHz clock, its
// stop delay in units of 1024 ticks, and the cues it draws, as indexes into
// the cue list, the earlier start first.
struct Subpicture {
  std::uint32_t startTicks = 0;
  std::uint16_t stopDelayUnits = 0;
  std::vector<int> cues;

  friend bool operator==(const Subpicture&, const Subpicture&) = default;
};

// What the timing changed, with cues numbered from 1 in list order; a count
// of 0 leaves its first number 0.
struct TimingReport {
  // Cues that start before the cue before them in the list.
  int outOfOrder = 0;
  int firstOutOfOrder = 0;
  // Cues shown at the same time as another cue.
  int overlapping = 0;
  int firstOverlapping = 0;
  // Cues shorter than one stop delay unit, or ending at or before their start.
  int tooShort = 0;
  int firstTooShort = 0;
  // The cues left out: too short with the next cue starting too soon, or
  // (rarely) shown only between changes too close together to be seen.
  std::vector<int> dropped;

  friend bool operator==(const TimingReport&, const TimingReport&) = default;
};

// The most cues one subpicture draws. Each takes at least a line, and no
// frame holds this many lines at the smallest size, so more could never be
// drawn whole; holding to it keeps each subpicture's list of cues short
// however many cues a file overlaps.
inline constexpr std::size_t kMostCuesAtOnce = 100;

struct Timeline {
  std::vector<Subpicture> subpictures;
  TimingReport report;
};

// The subpictures that show the cues in time order. A DVD shows one
// subpicture at a time, so each stretch of time in which the same cues are
// visible gets its own subpicture drawing all of them. The stop delay is
// rounded to the nearest unit (halves to even) but never reaches past the
// next stretch's start. Where stretches follow each other without a gap,
// each subpicture starts exactly where the one before is taken off, less
// than a unit before its stretch; after a gap, at its stretch's start. A
// stretch longer than the largest delay is repeated back to back, each
// repeat starting on a whole millisecond where the one before is taken
// off. A cue shorter than one unit is shown for one unit where the next
// cue starts late enough, and left out otherwise.
// Throws SubtitleError for the first cue in list order whose start cannot be
// written as a time stamp, for a cue still shown when a subpicture would
// have to start past the time stamp's range, and for the first cue, in time
// order, that would be shown together with kMostCuesAtOnce others or more.
Timeline PlanTimeline(const std::vector<CueTime>& cues);

}  // namespace tesmora
