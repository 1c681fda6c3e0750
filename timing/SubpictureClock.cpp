#include "timing/SubpictureClock.h"

#include <algorithm>

namespace tesmora {
namespace {

// Ticks of the 90 kHz clock in a millisecond.
constexpr long long kTicksPerMs = 90;

}  // namespace

std::uint32_t PresentationTimeStamp(long long startMs) {
  constexpr long long kLatestMs = 0xFFFFFFFFLL / kTicksPerMs;
  if (startMs < 0 || startMs > kLatestMs) {
    throw PacketError("its start time cannot be written as a time stamp (0 to " +
                      std::to_string(kLatestMs) + " ms)");
  }
  return static_cast<std::uint32_t>(startMs * kTicksPerMs);
}

std::uint16_t StopDelayTicks(long long durationMs) {
  if (durationMs <= 0) {
    return 0;
  }
  // Exact rounding in integers: ticks = durationMs * 90 / 1024.
  constexpr long long kDivisor = 1024;
  constexpr long long kLargestDuration = 65535 * kDivisor / kTicksPerMs + 1;
  if (durationMs > kLargestDuration) {
    return 0xFFFF;
  }
  const long long scaled = durationMs * kTicksPerMs;
  long long ticks = scaled / kDivisor;
  const long long rest = scaled % kDivisor;
  if (rest * 2 > kDivisor || (rest * 2 == kDivisor && (ticks & 1) != 0)) {
    ++ticks;
  }
  return static_cast<std::uint16_t>(std::min<long long>(ticks, 0xFFFF));
}

}  // namespace tesmora
