#pragma once

#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/PixelCode.h"

namespace tesmora {

// ClassifyPacked for many pixels of one run: with SSE2 the pixel is compared
// with pure blue and the three role colours in one step, and the four results
// pick the code from a table that applies the order of precedence.
class PixelClassifier {
 public:
  explicit PixelClassifier(const PackedKeys& keys)
#if defined(__SSE2__)
      : keys_(_mm_setr_epi32(static_cast<int>(PackRgb(kPureBlue)), static_cast<int>(keys.text),
                             static_cast<int>(keys.outline), static_cast<int>(keys.antialias)))
#else
      : keys_(keys)
#endif
  {
  }

  // The code of a packed pixel (red in the low byte, top byte zero).
  PixelCode operator()(std::uint32_t pixel) const {
#if defined(__SSE2__)
    const __m128i equal = _mm_cmpeq_epi32(_mm_set1_epi32(static_cast<int>(pixel)), keys_);
    return kCodeOfMatches[static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(equal)))];
#else
    return ClassifyPacked(pixel, keys_);
#endif
  }

 private:
  // Bit 0 set when the pixel is pure blue, bits 1, 2 and 3 when it is the
  // Text, Outline or Antialias colour: blue wins, then Text, Outline,
  // Antialias, and a pixel that matches none is Background.
  static constexpr std::array<PixelCode, 16> kCodeOfMatches = [] {
    std::array<PixelCode, 16> codes{};
    for (unsigned matches = 0; matches < 16; ++matches) {
      codes[matches] = (matches & 1) != 0   ? PixelCode::Background
                       : (matches & 2) != 0 ? PixelCode::Text
                       : (matches & 4) != 0 ? PixelCode::Outline
                       : (matches & 8) != 0 ? PixelCode::Antialias
                                            : PixelCode::Background;
    }
    return codes;
  }();

#if defined(__SSE2__)
  __m128i keys_;
#else
  PackedKeys keys_;
#endif
};

}  // namespace tesmora
