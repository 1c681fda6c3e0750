#include "output/ProgramStreamPack.h"

namespace tesmora {
namespace {

constexpr std::size_t kPackHeaderSize = 14;
constexpr std::size_t kPesHeadSize = 6;
constexpr std::uint8_t kPackStart = 0xBA;
constexpr std::uint8_t kProgramEnd = 0xB9;

bool IsStartCode(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] == 0x00 && bytes[at + 1] == 0x00 && bytes[at + 2] == 0x01;
}

[[noreturn]] void Fail(std::size_t at, const std::string& what) {
  throw ProgramStreamError("not a DVD program stream: " + what + " at byte " + std::to_string(at));
}

// The SCR base (33 bits) and extension (9 bits) of an MPEG-2 pack header.
std::uint64_t ReadScr(std::span<const std::uint8_t> h) {
  const std::uint64_t base =
      static_cast<std::uint64_t>(h[4] >> 3 & 0x07) << 30 |
      static_cast<std::uint64_t>(h[4] & 0x03) << 28 | static_cast<std::uint64_t>(h[5]) << 20 |
      static_cast<std::uint64_t>(h[6] >> 3 & 0x1F) << 15 |
      static_cast<std::uint64_t>(h[6] & 0x03) << 13 | static_cast<std::uint64_t>(h[7]) << 5 |
      static_cast<std::uint64_t>(h[8] >> 3 & 0x1F);
  const std::uint64_t extension = static_cast<std::uint64_t>(h[8] & 0x03) << 7 | h[9] >> 1;
  return base * 300 + extension;
}

}  // namespace

PackInfo ReadDvdPack(std::span<const std::uint8_t> stream, std::size_t at) {
  if (stream.size() - at < kDvdPackSize) {
    Fail(at, "the file ends inside a pack");
  }
  const std::span<const std::uint8_t> pack = stream.subspan(at, kDvdPackSize);
  if (!IsStartCode(pack, 0) || pack[3] != kPackStart) {
    Fail(at, "no pack start code");
  }
  // '01' marks an MPEG-2 pack header; MPEG-1 packs are not DVD packs.
  if ((pack[4] & 0xC0) != 0x40) {
    Fail(at, "not an MPEG-2 pack header");
  }
  PackInfo info;
  info.scr = ReadScr(pack);
  std::size_t offset = kPackHeaderSize + (pack[13] & 0x07);
  bool first = true;
  while (offset < kDvdPackSize) {
    if (kDvdPackSize - offset < kPesHeadSize || !IsStartCode(pack, offset) ||
        pack[offset + 3] < 0xBB) {
      Fail(at + offset, "no packet start code");
    }
    const std::uint8_t stream_id = pack[offset + 3];
    const std::size_t length = static_cast<std::size_t>(pack[offset + 4] << 8 | pack[offset + 5]);
    if (length > kDvdPackSize - offset - kPesHeadSize) {
      Fail(at + offset, "a packet runs past the end of its 2048-byte pack");
    }
    if (first) {
      info.firstStream = stream_id;
      first = false;
    }
    if (stream_id == 0xBF) {
      info.navigation = true;
    }
    // An MPEG-2 video PES header with its PTS flag: 2 flag bytes, the header
    // length, then the PTS.
    const bool video = stream_id >= 0xE0 && stream_id <= 0xEF;
    if (video && !info.videoPts && length >= 8 && (pack[offset + 6] & 0xC0) == 0x80 &&
        (pack[offset + 7] & 0x80) != 0 && pack[offset + 8] >= 5) {
      info.videoPts = ReadPtsField(pack.subspan(offset + 9).first<5>());
    }
    offset += kPesHeadSize + length;
  }
  return info;
}

bool IsProgramEnd(std::span<const std::uint8_t> stream, std::size_t at) {
  return stream.size() - at == 4 && IsStartCode(stream, at) && stream[at + 3] == kProgramEnd;
}

std::uint64_t ReadPtsField(std::span<const std::uint8_t, 5> f) {
  return static_cast<std::uint64_t>(f[0] >> 1 & 0x07) << 30 |
         static_cast<std::uint64_t>(f[1]) << 22 | static_cast<std::uint64_t>(f[2] >> 1) << 15 |
         static_cast<std::uint64_t>(f[3]) << 7 | static_cast<std::uint64_t>(f[4] >> 1);
}

void WritePtsField(std::span<std::uint8_t, 5> f, std::uint64_t pts) {
  f[0] = static_cast<std::uint8_t>(0x21 | (pts >> 29 & 0x0E));
  f[1] = static_cast<std::uint8_t>(pts >> 22 & 0xFF);
  f[2] = static_cast<std::uint8_t>(0x01 | (pts >> 14 & 0xFE));
  f[3] = static_cast<std::uint8_t>(pts >> 7 & 0xFF);
  f[4] = static_cast<std::uint8_t>(0x01 | (pts << 1 & 0xFE));
}

}  // namespace tesmora
