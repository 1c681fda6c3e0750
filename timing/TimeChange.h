#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "subtitles/FrameRate.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// The largest shift accepted, about 31 years: far beyond any video, and
// small enough that no shifted time overflows.
inline constexpr long long kLargestShiftMs = 1'000'000'000'000LL;

// A shift in ms as written on the command line: "1500", "+1500" or "-250".
// Empty for any other text or a shift larger than kLargestShiftMs.
std::optional<long long> ParseShift(std::string_view text);

// Moves every cue by `shiftMs`. Throws SubtitleError for the first cue (in
// list order) that the shift would move from 0 or later to before 0, naming
// its number and time. A cue that started before 0 may stay there: the
// file's reader has noted it (SubtitleReadResult::earlyCues), and the front
// ends refuse it with their own message once all times are changed.
std::vector<SubtitleEntry> ShiftCues(std::vector<SubtitleEntry> cues, long long shiftMs);

// A film made for one rate shown at another: every time is scaled by
// from / to (23.976:25 plays a film 4% faster).
struct RateConversion {
  FrameRate from;
  FrameRate to;

  friend bool operator==(const RateConversion&, const RateConversion&) = default;
};

// "FROM:TO", each a rate as ParseFrameRate reads it. Empty otherwise.
std::optional<RateConversion> ParseRateConversion(std::string_view text);

// Scales the start and the end of every cue exactly and rounds each to the
// ms, halves to even; the duration is the difference of the rounded ends.
// Throws SubtitleError for a cue whose scaled times do not fit a long long.
std::vector<SubtitleEntry> ConvertCueRate(std::vector<SubtitleEntry> cues,
                                          const RateConversion& conversion);

// The times as a conversion changes them: the rate conversion if any, then
// the shift. Throws SubtitleError as the two steps do. Cues that start
// before 0 are moved like the others.
std::vector<SubtitleEntry> ChangeCueTimes(std::vector<SubtitleEntry> cues,
                                          const std::optional<RateConversion>& conversion,
                                          long long shiftMs);

}  // namespace tesmora
