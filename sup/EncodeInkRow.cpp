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

unsigned InkAt(const std::uint64_t* low, const std::uint64_t* high, int x) {
  return static_cast<unsigned>(low[x / 64] >> (x % 64) & 1) |
         static_cast<unsigned>(high[x / 64] >> (x % 64) & 1) << 1;
}

// Word w of a plane moved one pixel left: bit p is pixel 64 w + p + 1.
std::uint64_t NextPixels(const std::uint64_t* plane, int w) {
  const std::uint64_t next = w + 1 < kWords ? plane[w + 1] : 0;
  return plane[w] >> 1 | next << 63;
}

}  // namespace

void AppendEncodedInkRow(const CodeFrame& frame, int y, std::vector<std::uint8_t>& out) {
  const std::uint64_t* low = frame.lowPlane(y);
  const std::uint64_t* high = frame.highPlane(y);
  const std::array<PixelCode, 4>& codes = frame.inkCodes();
  // Bit p of changes[w] set when pixel 64 w + p + 1 has another ink than
  // pixel 64 w + p; the run that starts there takes its ink from nextLow and
  // nextHigh.
  std::array<std::uint64_t, kWords> nextLow;
  std::array<std::uint64_t, kWords> nextHigh;
  std::array<std::uint64_t, kWords> changes;
  std::uint64_t any = 0;
  for (int w = 0; w < kWords; ++w) {
    nextLow[w] = NextPixels(low, w);
    nextHigh[w] = NextPixels(high, w);
    changes[w] = (low[w] ^ nextLow[w]) | (high[w] ^ nextHigh[w]);
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
    const int shift = (changes[0] & 1) == 0 ? 1 : 0;
    int before = shift - 1;
    unsigned ink = InkAt(low, high, shift);
    for (int w = 0; w < kWords; ++w) {
      for (std::uint64_t bits = changes[w]; bits != 0; bits &= bits - 1) {
        const int bit = std::countr_zero(bits);
        const int next = w * 64 + bit;
        WriteRunCodes(writer, static_cast<unsigned>(next - before), codes[ink]);
        ink = static_cast<unsigned>(nextLow[w] >> bit & 1) |
              static_cast<unsigned>(nextHigh[w] >> bit & 1) << 1;
        before = next;
      }
    }
    WriteRunCodes(writer, static_cast<unsigned>(static_cast<int>(kRunPixels) - 1 + shift - before),
                  codes[ink]);
  });
}

}  // namespace tesmora
