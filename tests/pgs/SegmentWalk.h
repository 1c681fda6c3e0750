#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tesmora::testing {

// One segment of a stream as the tests look at it.
struct Segment {
  std::uint32_t pts = 0;
  std::uint32_t dts = 0;
  int type = 0;
  std::vector<std::uint8_t> payload;
};

inline std::uint32_t Big32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
         static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

// The segments of a well-formed stream, in order; stops at anything else.
inline std::vector<Segment> WalkSegments(std::span<const std::uint8_t> bytes) {
  std::vector<Segment> segments;
  std::size_t at = 0;
  while (at + 13 <= bytes.size() && bytes[at] == 'P' && bytes[at + 1] == 'G') {
    const std::size_t size = static_cast<std::size_t>(bytes[at + 11]) << 8 | bytes[at + 12];
    if (at + 13 + size > bytes.size()) {
      break;
    }
    segments.push_back({Big32(bytes, at + 2),
                        Big32(bytes, at + 6),
                        bytes[at + 10],
                        {bytes.begin() + static_cast<std::ptrdiff_t>(at + 13),
                         bytes.begin() + static_cast<std::ptrdiff_t>(at + 13 + size)}});
    at += 13 + size;
  }
  return segments;
}

}  // namespace tesmora::testing
