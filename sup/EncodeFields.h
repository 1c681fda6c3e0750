#pragma once

#include <cstdint>
#include <vector>

#include "render/CodeFrame.h"
#include "render/EncodeArea.h"
#include "render/FrameBitmap.h"
#include "render/PixelCode.h"

namespace tesmora {

// The pixel data of one subpicture unit: two zero bytes, the encoded even rows
// of the band (top field), then the encoded odd rows (bottom field). The field
// offsets count from the start of the unit, whose pixel data begins at byte 4.
struct PixelData {
  std::vector<std::uint8_t> bytes;
  int topFieldOffset = 4;
  int bottomFieldOffset = 4;
};

// Encodes the rows of `area` interlaced. A field without rows keeps the offset
// 4, which points at the two leading zero bytes. Throws std::out_of_range when
// the band is empty or reaches outside the frame: callers cut it first
// (CutToFrame).
PixelData EncodeFields(const FrameBitmap& frame, const EncodeArea& area,
                       const RoleKeyColours& keys);

// The same for a band of a code frame: the very bytes the encoding above
// gives for the key frame it stands for, on which each ink is a colour of
// its own that the keys classify as the ink's code.
PixelData EncodeFields(const CodeFrame& frame, const EncodeArea& area);

}  // namespace tesmora
