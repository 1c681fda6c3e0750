#pragma once

// Checks an object's run-length data against its size: every line must
// close with its end code after exactly the object's width of pixels, and
// there must be exactly as many lines as the object is high.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tesmora::pgs {

// The faults of one object's data, each a sentence naming `objectId`; at
// most one for lines of the wrong width (the first, with how many more).
std::vector<std::string> CheckRunLengths(int objectId, int width, int height,
                                         std::span<const std::uint8_t> data);

}  // namespace tesmora::pgs
