#pragma once

#include <cstdint>
#include <vector>

#include "render/CodeFrame.h"

namespace tesmora {

// Appends the encoded line of row y of a code frame: the same bytes as
// AppendEncodedRow of the 24-bit row it stands for. Runs are found 64 pixels
// at a time, where either bit plane differs from itself shifted by a pixel.
void AppendEncodedInkRow(const CodeFrame& frame, int y, std::vector<std::uint8_t>& out);

}  // namespace tesmora
