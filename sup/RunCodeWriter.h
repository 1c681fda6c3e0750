#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/PixelCode.h"
#include "sup/NibbleWriter.h"

namespace tesmora {

inline constexpr unsigned kLongestCodedRun = 255;

// The most bytes the run codes of one frame line can take: no run code has
// more nibbles than its run has pixels, so 719 pixels need at most 719
// nibbles, 360 bytes after padding.
inline constexpr std::size_t kMaxLineCodeBytes = (719 + 1) / 2;

// Bits of the code of a run of 1 to 255 pixels: 4, 8, 12 or 16 for lengths
// 1-3, 4-15, 16-63 and 64-255.
inline constexpr std::array<std::uint8_t, kLongestCodedRun + 1> kRunCodeBits = [] {
  std::array<std::uint8_t, kLongestCodedRun + 1> bits{};
  for (unsigned length = 1; length <= kLongestCodedRun; ++length) {
    bits[length] =
        static_cast<std::uint8_t>(4 * (1 + (length >= 4) + (length >= 16) + (length >= 64)));
  }
  return bits;
}();

// Writes one run of at least one pixel: value length * 4 + code in the
// fewest nibbles, a run longer than 255 pixels as codes of 255 followed by
// the rest. Inline so that a line's writer stays in registers.
inline void WriteRunCodes(NibbleWriter& writer, unsigned length, PixelCode code) {
  const unsigned codeBits = static_cast<unsigned>(code);
  while (length > kLongestCodedRun)
    [[unlikely]] {
      writer.putBits(kLongestCodedRun * 4 + codeBits, kRunCodeBits[kLongestCodedRun]);
      length -= kLongestCodedRun;
    }
  writer.putBits(length * 4 + codeBits, kRunCodeBits[length]);
}

// Appends one encoded line to `out`: the run codes that writeRuns(writer)
// writes, at most `maxCodeBytes` bytes of them, a zero nibble when their
// count is odd, and the two zero bytes that end the line.
template <class WriteRuns>
void AppendLineWith(std::vector<std::uint8_t>& out, std::size_t maxCodeBytes,
                    WriteRuns&& writeRuns) {
  const std::size_t start = out.size();
  out.resize(start + maxCodeBytes + 2 + NibbleWriter::kSlack);
  NibbleWriter writer(out.data() + start);
  writeRuns(writer);
  writer.padToByte();
  std::uint8_t* end = writer.end();
  *end++ = 0;
  *end++ = 0;
  out.resize(static_cast<std::size_t>(end - out.data()));
}

}  // namespace tesmora
