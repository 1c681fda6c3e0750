#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/FrameBitmap.h"
#include "render/PixelCode.h"

namespace tesmora {

// A 720-pixel-wide picture for the encoder alone: each pixel holds one of
// four inks instead of a colour. Ink 0 is the pure blue of an empty frame;
// inks 1 to 3 stand for the other colours drawn on it, one ink per distinct
// colour, and inkCodes() gives each ink the pixel code the 24-bit encoder
// gives its colour. So runs break where the ink changes, exactly where the
// colour would change on a key frame, even where two colours share a code.
//
// An ink is kept as two bit planes: bit x of a row's low plane is bit 0 of
// pixel x's ink, bit x of its high plane bit 1. Each plane row is 12 words of
// 64 pixels, pixel x at bit x % 64 of word x / 64; the 48 bits past pixel
// 719 are always clear.
class CodeFrame {
 public:
  static constexpr int kWidth = FrameBitmap::kWidth;
  static constexpr int kWordsPerPlane = (kWidth + 63) / 64;
  // The bits of the last word of a plane row that hold pixels.
  static constexpr std::uint64_t kLastWordPixels = (std::uint64_t{1} << (kWidth % 64)) - 1;

  // A frame of `height` rows of ink 0. Throws std::invalid_argument for a
  // height below 1.
  explicit CodeFrame(int height);

  int height() const { return height_; }

  const std::uint64_t* lowPlane(int y) const { return words_.data() + RowStart(y); }
  const std::uint64_t* highPlane(int y) const {
    return words_.data() + RowStart(y) + kWordsPerPlane;
  }
  std::uint64_t* lowPlane(int y) { return words_.data() + RowStart(y); }
  std::uint64_t* highPlane(int y) { return words_.data() + RowStart(y) + kWordsPerPlane; }

  unsigned ink(int x, int y) const;
  // Sets pixel x of row y (both inside the frame) to ink 0 to 3.
  void setInk(int x, int y, unsigned ink);

  // Makes rows first to last (inclusive, cut to the frame) ink 0 again.
  void clearRows(int first, int last);

  const std::array<PixelCode, 4>& inkCodes() const { return inkCodes_; }
  void setInkCodes(const std::array<PixelCode, 4>& codes) { inkCodes_ = codes; }

 private:
  static std::size_t RowStart(int y) { return static_cast<std::size_t>(y) * 2 * kWordsPerPlane; }

  int height_;
  std::vector<std::uint64_t> words_;
  std::array<PixelCode, 4> inkCodes_{PixelCode::Background, PixelCode::Text, PixelCode::Outline,
                                     PixelCode::Antialias};
};

}  // namespace tesmora
