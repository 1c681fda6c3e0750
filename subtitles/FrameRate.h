#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tesmora {

// A frame rate held exactly as a reduced fraction of frames per second, so
// the NTSC rates (24000/1001, 30000/1001, ...) keep every frame on its time.
struct FrameRate {
  long long numerator = 25;
  long long denominator = 1;

  friend bool operator==(const FrameRate&, const FrameRate&) = default;
};

// The rates a user is offered when a file names none.
inline constexpr std::array<std::string_view, 7> kCommonFrameRateTexts{
    "23.976", "24", "25", "29.97", "30", "50", "59.94"};

// The rate a text names: a positive decimal ("25", "25.000", "12.5") of at
// most 4 digits before and 6 after the point. A text with at least two
// decimals that is an NTSC rate N*1000/1001 (N = 24, 30, 48, 60 or 120)
// rounded to its decimals means that rate exactly: "23.976" and "23.98" give
// 24000/1001, "29.97" 30000/1001. Empty for any other text.
std::optional<FrameRate> ParseFrameRate(std::string_view text);

// The time in ms of a frame count at the rate, exactly rounded, halves to
// the even neighbour. A cue's duration is the time of its frame count
// (end - start), as rounding the two ends apart would make it one ms off.
// Empty when the time does not fit a long long.
std::optional<long long> FramesToMs(long long frames, FrameRate rate);

// `value` * `numerator` / `denominator` rounded to the nearest integer,
// halves to the even neighbour. `denominator` must be positive. Empty when
// the result does not fit a long long.
std::optional<long long> ScaleRoundedToEven(long long value, long long numerator,
                                            long long denominator);

}  // namespace tesmora
