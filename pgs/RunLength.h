#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pgs/RgbaPicture.h"

namespace tesmora::pgs {

// Appends one run of `length` pixels (1-16383) of palette index `index` in
// the object run-length code, choosing the shortest form.
void AppendRun(std::vector<std::uint8_t>& out, int length, std::uint8_t index);

// The object's run-length data: each line as runs of at most 16383 pixels,
// ending in 00 00.
std::vector<std::uint8_t> EncodeRunLength(const IndexedPicture& picture);

// The same from the picture's runs of one index, row after row, `width`
// pixels a row; a run may not cross a row's end. Neighbours of one index
// are coded as one run.
std::vector<std::uint8_t> EncodeRunLength(std::span<const IndexRun> runs, int width, int height);

}  // namespace tesmora::pgs
