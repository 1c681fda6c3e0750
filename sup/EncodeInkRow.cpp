#include "sup/EncodeInkRow.h"

#include <array>
#include <bit>

#include "sup/ChangeMask.h"
#include "sup/RunCodeWriter.h"

namespace tesmora {
namespace {

constexpr int kWords = CodeFrame::kWordsPerPlane;
constexpr unsigned kRunPixels = ChangeMask::kExaminedPixels;
// Change bits 0 to 717 are examined; those from 718 on compare pixel 719,
// which no run covers, or the clear bits past it.
constexpr std::uint64_t kLastWordChanges =
    (std::uint64_t{1} << (ChangeMask::kBits - (kWords - 1) * 64)) - 1;

unsigned InkAt(const std::uint64_t* low, const std::uint64_t* high, std::ptrdiff_t x) {
  const std::ptrdiff_t word = x >> 6;
  const unsigned bit = static_cast<unsigned>(x & 63);
  return static_cast<unsigned>(low[word] >> bit & 1) | static_cast<unsigned>(high[word] >> bit & 1)
                                                           << 1;
}

// Bit p of word w set when pixel 64 w + p + 1 has another ink than pixel
// 64 w + p.
std::uint64_t ChangesAt(const std::uint64_t* plane, int w) {
  const std::uint64_t next = w + 1 < kWords ? plane[w + 1] : 0;
  return plane[w] ^ (plane[w] >> 1 | next << 63);
}

}  // namespace

void AppendEncodedInkRow(const CodeFrame& frame, int y, std::vector<std::uint8_t>& out) {
  const std::uint64_t* low = frame.lowPlane(y);
  const std::uint64_t* high = frame.highPlane(y);
  const std::array<PixelCode, 4>& codes = frame.inkCodes();
  std::array<std::uint64_t, kWords> changes;
  std::uint64_t any = 0;
  for (int w = 0; w < kWords; ++w) {
    changes[w] = ChangesAt(low, w) | ChangesAt(high, w);
  }
  changes[kWords - 1] &= kLastWordChanges;
  for (const std::uint64_t word : changes) {
    any |= word;
  }
  AppendLineWith(out, kMaxLineCodeBytes, [&](NibbleWriter& writer) {
    if (any == 0) {
      // One ink across the line, the common case around and between text.
      WriteRunCodes(writer, kRunPixels, codes[InkAt(low, high, 0)]);
      return;
    }
    // The layout of ScanLineRuns: with pixels 0 and 1 alike the first run is
    // counted from pixel 1 and the last run gets the pixel back.
    const std::ptrdiff_t shift = (changes[0] & 1) == 0 ? 1 : 0;
    std::ptrdiff_t before = shift - 1;
    for (int w = 0; w < kWords; ++w) {
      for (std::uint64_t bits = changes[w]; bits != 0; bits &= bits - 1) {
        const std::ptrdiff_t next = w * 64 + std::countr_zero(bits);
        WriteRunCodes(writer, static_cast<unsigned>(next - before),
                      codes[InkAt(low, high, before + 1)]);
        before = next;
      }
    }
    WriteRunCodes(writer, static_cast<unsigned>(kRunPixels - 1 + shift - before),
                  codes[InkAt(low, high, before + 1)]);
  });
}

}  // namespace tesmora
