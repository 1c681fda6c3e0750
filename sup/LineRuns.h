#pragma once

#include <vector>

#include "render/FrameBitmap.h"
#include "render/PixelCode.h"

namespace tesmora {

// A stretch of equal pixels on one line.
struct PixelRun {
  int length = 0;
  PixelCode code = PixelCode::Background;

  friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

// Splits one frame line into runs of equal RGB values (not of equal codes: two
// neighbouring colours that both map to Background stay two runs). The lengths
// add up to 719; the last column is left to the line's end code.
//
// The runs describe pixels 0 to 718. When the first two pixels are equal, the
// line is written shifted one pixel to the left (the first run is one shorter,
// the last one longer), which is how every stream of this tool has always been
// laid out. When they differ, pixel 0 keeps its own run of length 1 and the
// line is written as it is.
std::vector<PixelRun> BuildLineRuns(const FrameBitmap& frame, int line, const RoleKeyColours& keys);

// The same for a raw row of 720 RGB pixels, reusing `runs` (cleared first).
void BuildLineRunsInto(const std::uint8_t* row, const RoleKeyColours& keys,
                       std::vector<PixelRun>& runs);

}  // namespace tesmora
