#include "subtitles/FrameRate.h"

#include <limits>
#include <numeric>

namespace tesmora {
namespace {

// Products of a time and a rate's terms need up to 128 bits.
__extension__ using Wide = __int128;

constexpr std::size_t kMaxWholeDigits = 4;
constexpr std::size_t kMaxFractionDigits = 6;
constexpr long long kNtscBases[] = {24, 30, 48, 60, 120};

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  return !text.empty();
}

long long DigitsValue(std::string_view digits) {
  long long value = 0;
  for (const char c : digits) {
    value = value * 10 + (c - '0');
  }
  return value;
}

// The NTSC rate N*1000/1001 that `scaled` / `scale` writes to its decimals:
// |scaled/scale - N*1000/1001| < 1/(2*scale).
std::optional<FrameRate> NtscRate(long long scaled, long long scale) {
  for (const long long base : kNtscBases) {
    const Wide difference =
        static_cast<Wide>(scaled) * 1001 - static_cast<Wide>(base) * 1000 * scale;
    const Wide distance = difference < 0 ? -difference : difference;
    if (distance * 2 < 1001) {
      return FrameRate{base * 1000, 1001};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<FrameRate> ParseFrameRate(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (!AllDigits(whole) || whole.size() > kMaxWholeDigits ||
      (point != std::string_view::npos && !AllDigits(fraction)) ||
      fraction.size() > kMaxFractionDigits) {
    return std::nullopt;
  }
  long long scale = 1;
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    scale *= 10;
  }
  const long long scaled = DigitsValue(whole) * scale + DigitsValue(fraction);
  if (scaled == 0) {
    return std::nullopt;
  }
  if (fraction.size() >= 2) {
    if (const std::optional<FrameRate> ntsc = NtscRate(scaled, scale)) {
      return ntsc;
    }
  }
  const long long common = std::gcd(scaled, scale);
  return FrameRate{scaled / common, scale / common};
}

std::optional<long long> ScaleRoundedToEven(long long value, long long numerator,
                                            long long denominator) {
  const Wide product = static_cast<Wide>(value) * numerator;
  Wide quotient = product / denominator;
  Wide rest = product % denominator;
  if (rest < 0) {  // floor division, so the rest lies in [0, denominator)
    rest += denominator;
    --quotient;
  }
  if (rest * 2 > denominator || (rest * 2 == denominator && quotient % 2 != 0)) {
    ++quotient;
  }
  if (quotient < std::numeric_limits<long long>::min() ||
      quotient > std::numeric_limits<long long>::max()) {
    return std::nullopt;
  }
  return static_cast<long long>(quotient);
}

std::optional<long long> FramesToMs(long long frames, FrameRate rate) {
  return ScaleRoundedToEven(frames, rate.denominator * 1000, rate.numerator);
}

}  // namespace tesmora
