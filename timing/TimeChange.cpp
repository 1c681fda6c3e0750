#include "timing/TimeChange.h"

#include <numeric>
#include <string>

#include "core/SubtitleError.h"

namespace tesmora {

std::optional<long long> ParseShift(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) {
    return std::nullopt;
  }
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
    if (value > kLargestShiftMs) {
      return std::nullopt;
    }
  }
  return negative ? -value : value;
}

std::vector<SubtitleEntry> ShiftCues(std::vector<SubtitleEntry> cues, long long shiftMs) {
  for (std::size_t i = 0; i < cues.size(); ++i) {
    SubtitleEntry& cue = cues[i];
    long long moved = 0;
    if (__builtin_add_overflow(cue.startMs, shiftMs, &moved)) {
      throw SubtitleError(
          static_cast<int>(i + 1), cue.startMs,
          "moved by " + std::to_string(shiftMs) + " ms, its time would be too large");
    }
    // A cue read before 0 is the reader's to refuse if it stays there.
    if (moved < 0 && cue.startMs >= 0) {
      throw SubtitleError(static_cast<int>(i + 1), cue.startMs,
                          "moved by " + std::to_string(shiftMs) +
                              " ms, it would start before the beginning of the video");
    }
    cue.startMs = moved;
  }
  return cues;
}

std::optional<RateConversion> ParseRateConversion(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    return std::nullopt;
  }
  const std::optional<FrameRate> from = ParseFrameRate(text.substr(0, colon));
  const std::optional<FrameRate> to = ParseFrameRate(text.substr(colon + 1));
  if (!from || !to) {
    return std::nullopt;
  }
  return RateConversion{*from, *to};
}

std::vector<SubtitleEntry> ConvertCueRate(std::vector<SubtitleEntry> cues,
                                          const RateConversion& conversion) {
  // from / to = (a / b) / (c / d) = a*d / (b*c); the terms are small enough
  // for the products to fit 64 bits.
  long long numerator = conversion.from.numerator * conversion.to.denominator;
  long long denominator = conversion.from.denominator * conversion.to.numerator;
  const long long common = std::gcd(numerator, denominator);
  numerator /= common;
  denominator /= common;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    SubtitleEntry& cue = cues[i];
    long long endMs = 0;
    const bool endFits = !__builtin_add_overflow(cue.startMs, cue.durationMs, &endMs);
    const std::optional<long long> start = ScaleRoundedToEven(cue.startMs, numerator, denominator);
    const std::optional<long long> end = ScaleRoundedToEven(endMs, numerator, denominator);
    long long duration = 0;
    if (!endFits || !start || !end || __builtin_sub_overflow(*end, *start, &duration)) {
      throw SubtitleError(static_cast<int>(i + 1), cue.startMs,
                          "its times are too large to be converted to the other frame rate");
    }
    cue.startMs = *start;
    cue.durationMs = duration;
  }
  return cues;
}

std::vector<SubtitleEntry> ChangeCueTimes(std::vector<SubtitleEntry> cues,
                                          const std::optional<RateConversion>& conversion,
                                          long long shiftMs) {
  if (conversion) {
    cues = ConvertCueRate(std::move(cues), *conversion);
  }
  if (shiftMs != 0) {
    cues = ShiftCues(std::move(cues), shiftMs);
  }
  return cues;
}

}  // namespace tesmora
