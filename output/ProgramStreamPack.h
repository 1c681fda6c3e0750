#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace tesmora {

// A DVD program stream is a run of 2048-byte MPEG-2 packs, each a pack
// header followed by PES packets that fill it exactly, and may end with the
// program end code.
inline constexpr std::size_t kDvdPackSize = 2048;

// Bad program stream input: the text says what is wrong and at which byte.
class ProgramStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the multiplexer needs to know of one pack.
struct PackInfo {
  // The system clock reference in 27 MHz units (base * 300 + extension).
  std::uint64_t scr = 0;
  // The first PES packet's stream id (0xBB for a system header).
  std::uint8_t firstStream = 0;
  // Whether the pack holds private stream 2: a navigation pack, which opens
  // a video object unit.
  bool navigation = false;
  // The PTS of the first video PES packet in the pack that carries one.
  std::optional<std::uint64_t> videoPts;
};

// Checks the pack that starts at `at` in `stream` (its start code, MPEG-2
// form, and that the lengths of its PES packets add up to exactly 2048
// bytes, each checked before it is used) and reads it. Throws
// ProgramStreamError naming the byte offset of the fault.
PackInfo ReadDvdPack(std::span<const std::uint8_t> stream, std::size_t at);

// Whether the bytes from `at` on are the program end code and nothing else.
bool IsProgramEnd(std::span<const std::uint8_t> stream, std::size_t at);

// The 33-bit value of a five-byte PTS field.
std::uint64_t ReadPtsField(std::span<const std::uint8_t, 5> field);
// Writes a PTS-only field ('0010' prefix) with its marker bits.
void WritePtsField(std::span<std::uint8_t, 5> field, std::uint64_t pts);

}  // namespace tesmora
