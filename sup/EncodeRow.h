#pragma once

#include <cstdint>
#include <vector>

#include "render/PixelCode.h"

namespace tesmora {

// Appends the encoded line of one frame row of 720 RGB pixels: the same bytes
// as AppendEncodedLine of the row's BuildLineRuns, written straight from the
// row without a list of runs in between.
void AppendEncodedRow(const std::uint8_t* row, const PackedKeys& keys,
                      std::vector<std::uint8_t>& out);

}  // namespace tesmora
