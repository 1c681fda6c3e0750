#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/ThreadStart.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// Why a cue cannot be drawn whole on a frame: a line as wide as the line
// limit or wider, or more lines than the frame's height holds in the style,
// so that some would be cut off at its top or bottom edge.
enum class CueFault { TooWide, TooTall };

// A cue that cannot be drawn whole: its position in the list and why.
struct UnfitCue {
  std::size_t position = 0;
  CueFault fault = CueFault::TooWide;

  friend bool operator==(const UnfitCue&, const UnfitCue&) = default;
};

// Why a cue read and measured in the style cannot be drawn whole on its own
// on a frame `frameHeight` rows high, placed as the drawing places it; a
// line too wide is told before lines too many, but a line that wrapping
// found to need more lines than any frame holds is told as too many. None
// when it fits.
std::optional<CueFault> FaultOf(const PreparedCue& cue, const SubtitleStyle& style,
                                int frameHeight);

// The first cue, in the list's order, that cannot be drawn whole on its own
// (FaultOf) once read and measured as it is drawn: in its own font when its
// file gives one (StyleOfCueFont), else in the style; none when every cue
// fits.
// The cues are measured on `workers` threads (below 2: on the calling one),
// each taking every workers-th cue; the calling thread takes the share of a
// thread the system would not start. The answer is the same for any count.
std::optional<UnfitCue> FirstUnfitCue(const std::vector<SubtitleEntry>& cues,
                                      const TextSource& source, const SubtitleStyle& style,
                                      int frameHeight, int workers,
                                      const ThreadStarter& startThread = StartThread);

}  // namespace tesmora
