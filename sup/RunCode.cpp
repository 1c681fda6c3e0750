#include "sup/RunCode.h"

#include <stdexcept>

#include "sup/RunCodeWriter.h"

namespace tesmora {
namespace {

void WriteCheckedRun(NibbleWriter& writer, int length, PixelCode code) {
  if (length < 1) {
    throw std::invalid_argument("a pixel run needs at least one pixel");
  }
  WriteRunCodes(writer, static_cast<unsigned>(length), code);
}

// Nibbles of all the codes of one run.
std::uint64_t CodeNibbles(unsigned length) {
  const unsigned rest = length % kLongestCodedRun;
  return 4 * std::uint64_t{length / kLongestCodedRun} + (rest == 0 ? 0 : kRunCodeBits[rest] / 4);
}

}  // namespace

void AppendRunCode(NibbleWriter& writer, int length, PixelCode code) {
  WriteCheckedRun(writer, length, code);
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
  // Counted first, so that the buffer fits and nothing is written for a
  // list that is refused.
  std::uint64_t nibbles = 0;
  for (const PixelRun& run : runs) {
    if (run.length < 1) {
      throw std::invalid_argument("a pixel run needs at least one pixel");
    }
    nibbles += CodeNibbles(static_cast<unsigned>(run.length));
  }
  AppendLineWith(out, static_cast<std::size_t>((nibbles + 1) / 2), [&runs](NibbleWriter& writer) {
    for (const PixelRun& run : runs) {
      WriteRunCodes(writer, static_cast<unsigned>(run.length), run.code);
    }
  });
}

std::vector<std::uint8_t> EncodeLine(const std::vector<PixelRun>& runs) {
  std::vector<std::uint8_t> out;
  AppendEncodedLine(runs, out);
  return out;
}

}  // namespace tesmora
