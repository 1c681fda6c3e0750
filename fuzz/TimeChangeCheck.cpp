#include "fuzz/TimeChangeCheck.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "fuzz/FuzzRequire.h"
#include "sup/SubtitlePacket.h"

namespace tesmora::fuzz {
namespace {

// Whether `scaled` is `value` * from / to to the nearest integer.
bool IsNearestScaled(long long value, long long scaled, const RateConversion& conversion) {
  const __int128 numerator =
      static_cast<__int128>(conversion.from.numerator) * conversion.to.denominator;
  const __int128 denominator =
      static_cast<__int128>(conversion.from.denominator) * conversion.to.numerator;
  const __int128 error = static_cast<__int128>(scaled) * denominator * 2 - value * numerator * 2;
  return (error < 0 ? -error : error) <= denominator;
}

long long EndOf(const SubtitleEntry& cue) {
  return cue.startMs + cue.durationMs;
}

// Whether `after` keeps the order that `key` gives the cues of `before`.
template <typename Key>
bool KeepsOrder(const std::vector<SubtitleEntry>& before, const std::vector<SubtitleEntry>& after,
                Key key) {
  std::vector<std::size_t> order(before.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return key(before[a]) < key(before[b]); });
  for (std::size_t k = 1; k < order.size(); ++k) {
    if (key(after[order[k - 1]]) > key(after[order[k]])) {
      return false;
    }
  }
  return true;
}

std::optional<std::vector<SubtitleEntry>> CheckConversion(const std::vector<SubtitleEntry>& cues,
                                                          const RateConversion& conversion) {
  std::vector<SubtitleEntry> converted;
  try {
    converted = ConvertCueRate(cues, conversion);
  } catch (const SubtitleError&) {
    return std::nullopt;
  }
  Require(converted.size() == cues.size(), "a rate conversion keeps every cue");
  for (std::size_t i = 0; i < cues.size(); ++i) {
    Require(converted[i].lines == cues[i].lines, "a rate conversion keeps the text");
    Require(IsNearestScaled(cues[i].startMs, converted[i].startMs, conversion) &&
                IsNearestScaled(EndOf(cues[i]), EndOf(converted[i]), conversion),
            "a rate conversion scales each start and end to the nearest ms");
    Require(cues[i].startMs < 0 || converted[i].startMs >= 0,
            "a rate conversion starts no cue before 0");
    Require(cues[i].durationMs < 0 || converted[i].durationMs >= 0,
            "a rate conversion ends no cue before its start");
  }
  Require(KeepsOrder(cues, converted, [](const SubtitleEntry& cue) { return cue.startMs; }) &&
              KeepsOrder(cues, converted, EndOf),
          "a rate conversion keeps the order of starts and ends");
  return converted;
}

std::optional<std::vector<SubtitleEntry>> CheckShift(const std::vector<SubtitleEntry>& cues,
                                                     long long shiftMs) {
  // A cue read before 0 may stay there: refusing it is left to the readers'
  // records. The shift refuses only what it moves from 0 or later to before
  // 0, or past the largest time.
  const bool fits = std::all_of(cues.begin(), cues.end(), [shiftMs](const SubtitleEntry& cue) {
    const __int128 moved = static_cast<__int128>(cue.startMs) + shiftMs;
    return (moved >= 0 || cue.startMs < 0) && moved >= std::numeric_limits<long long>::min() &&
           moved <= std::numeric_limits<long long>::max();
  });
  std::vector<SubtitleEntry> shifted;
  try {
    shifted = ShiftCues(cues, shiftMs);
  } catch (const SubtitleError&) {
    Require(!fits, "a shift is refused only for a cue it would move from 0 or later to before 0");
    return std::nullopt;
  }
  Require(fits, "a shift that moves a cue from 0 or later to before 0 is refused");
  Require(shifted.size() == cues.size(), "a shift keeps every cue");
  for (std::size_t i = 0; i < cues.size(); ++i) {
    Require(shifted[i].startMs == cues[i].startMs + shiftMs &&
                shifted[i].durationMs == cues[i].durationMs && shifted[i].lines == cues[i].lines,
            "a shift moves the start by the shift and keeps the rest");
  }
  return shifted;
}

}  // namespace

std::optional<std::vector<SubtitleEntry>> CheckChangeCueTimes(
    const std::vector<SubtitleEntry>& cues, const std::optional<RateConversion>& conversion,
    long long shiftMs) {
  std::optional<std::vector<SubtitleEntry>> changed = cues;
  if (conversion) {
    changed = CheckConversion(*changed, *conversion);
  }
  if (changed && shiftMs != 0) {
    changed = CheckShift(*changed, shiftMs);
  }
  std::optional<std::vector<SubtitleEntry>> together;
  try {
    together = ChangeCueTimes(cues, conversion, shiftMs);
  } catch (const SubtitleError&) {
  }
  Require(together == changed, "a time change is the rate conversion, then the shift");
  return changed;
}

}  // namespace tesmora::fuzz
