#include "sup/RunCode.h"

#include <stdexcept>

namespace tesmora {
namespace {

constexpr int kLongestCodedRun = 255;

// 1, 2, 3 or 4 nibbles for lengths 1-3, 4-15, 16-63 and 64-255.
int NibblesFor(int length) {
  return 1 + (length >= 4) + (length >= 16) + (length >= 64);
}

inline void AppendSingleCode(NibbleWriter& writer, int length, PixelCode code) {
  const unsigned value = static_cast<unsigned>(length) * 4 + static_cast<unsigned>(code);
  writer.put(value, NibblesFor(length));
}

// Kept inline so that a line's writer stays in registers.
inline void WriteRun(NibbleWriter& writer, int length, PixelCode code) {
  if (length < 1) {
    throw std::invalid_argument("a pixel run needs at least one pixel");
  }
  while (length > kLongestCodedRun) {
    AppendSingleCode(writer, kLongestCodedRun, code);
    length -= kLongestCodedRun;
  }
  AppendSingleCode(writer, length, code);
}

}  // namespace

void AppendRunCode(NibbleWriter& writer, int length, PixelCode code) {
  WriteRun(writer, length, code);
}

std::string FormatRunCode(int length, PixelCode code) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::uint8_t bytes[8 + NibbleWriter::kSlack];
  NibbleWriter writer(bytes);
  AppendRunCode(writer, length, code);
  const bool half = writer.halfFilled();
  writer.padToByte();
  std::string digits;
  for (const std::uint8_t* byte = bytes; byte != writer.end(); ++byte) {
    digits += kHex[*byte >> 4];
    digits += kHex[*byte & 0xF];
  }
  if (half) {
    digits.pop_back();
  }
  return digits;
}

void AppendEncodedLine(const std::vector<PixelRun>& runs, std::vector<std::uint8_t>& out) {
  const std::size_t start = out.size();
  out.resize(start + kMaxEncodedLineBytes + NibbleWriter::kSlack);
  NibbleWriter writer(out.data() + start);
  for (const PixelRun& run : runs) {
    WriteRun(writer, run.length, run.code);
  }
  writer.padToByte();
  std::uint8_t* end = writer.end();
  *end++ = 0;
  *end++ = 0;
  out.resize(static_cast<std::size_t>(end - out.data()));
}

std::vector<std::uint8_t> EncodeLine(const std::vector<PixelRun>& runs) {
  std::vector<std::uint8_t> out;
  AppendEncodedLine(runs, out);
  return out;
}

}  // namespace tesmora
