#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tesmora {

// A packet that cannot be written as the format demands. The text completes a
// sentence that begins with the subtitle it concerns.
class PacketError : public std::runtime_error {
 public:
  explicit PacketError(const std::string& text) : std::runtime_error(text) {}
};

// The start time in ticks of the 90 kHz clock. Throws PacketError when the
// time is negative or too late for the header's 32 bits.
std::uint32_t PresentationTimeStamp(long long startMs);

// The stop delay in the unit's time base of 1024/90000 s, rounded to the
// nearest tick (a half to the even neighbour) and held to 0 ... 65535.
std::uint16_t StopDelayTicks(long long durationMs);

// When a subpicture shows: the time stamp in ticks of the 90 kHz clock and
// the stop delay in units of 1024 ticks.
struct SubpictureTime {
  std::uint32_t startTicks = 0;
  std::uint16_t stopDelayUnits = 0;

  friend bool operator==(const SubpictureTime&, const SubpictureTime&) = default;
};

}  // namespace tesmora
