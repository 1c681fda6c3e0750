// Time changes (rate conversion, shift) and the timeline's plan on cue times
// of every shape: in and out of order, overlapping, touching, too short,
// ending before they start, past the time stamp range.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "fuzz/FuzzBytes.h"
#include "fuzz/TimeChangeCheck.h"
#include "fuzz/TimelineCheck.h"
#include "subtitles/FrameRate.h"
#include "timing/CueTimes.h"

namespace {

constexpr std::array<long long, 4> kScales{1, 10, 1000, 100000};

// A cue from 5 to 9 bytes: a tag, then the start (after the one before, or
// from 0 when the tag's top bit is set) and the duration.
tesmora::SubtitleEntry NextCue(tesmora::fuzz::FuzzBytes& input, long long previousStart) {
  const std::uint8_t tag = input.byte();
  tesmora::SubtitleEntry cue;
  cue.startMs = (tag & 0x80) != 0
                    ? static_cast<long long>(input.u32())
                    : previousStart + static_cast<std::int16_t>(input.u16()) * kScales[tag & 3];
  cue.durationMs = (tag & 0x40) != 0
                       ? static_cast<long long>(input.u32()) * 1000
                       : static_cast<std::int16_t>(input.u16()) * kScales[(tag >> 2) & 3];
  return cue;
}

std::optional<tesmora::RateConversion> PickConversion(tesmora::fuzz::FuzzBytes& input) {
  const std::uint8_t choice = input.byte();
  if (choice % 2 == 0) {
    return std::nullopt;
  }
  const auto& rates = tesmora::kCommonFrameRateTexts;
  return tesmora::RateConversion{*tesmora::ParseFrameRate(rates[(choice >> 1) % rates.size()]),
                                 *tesmora::ParseFrameRate(rates[(choice >> 4) % rates.size()])};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tesmora::fuzz::FuzzBytes input(data, size);
  const std::optional<tesmora::RateConversion> conversion = PickConversion(input);
  const long long shiftMs =
      std::clamp(static_cast<std::int32_t>(input.u32()) * kScales[input.pick(3)],
                 -tesmora::kLargestShiftMs, tesmora::kLargestShiftMs);
  std::vector<tesmora::SubtitleEntry> cues;
  long long start = 0;
  while (!input.empty()) {
    cues.push_back(NextCue(input, start));
    start = cues.back().startMs;
  }
  const std::optional<std::vector<tesmora::SubtitleEntry>> changed =
      tesmora::fuzz::CheckChangeCueTimes(cues, conversion, shiftMs);
  tesmora::fuzz::CheckPlannedTimeline(tesmora::CueTimesOf(changed ? *changed : cues));
  return 0;
}
