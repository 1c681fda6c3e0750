#pragma once

#include <optional>
#include <span>
#include <vector>

#include "pgs/RgbaPicture.h"

namespace tesmora::pgs {

// New colours for the palette indices already drawn, when the new pictures
// differ from the drawn ones only in colour: every pixel of an index takes
// (nearly) one new colour, and transparent pixels stay transparent. This is
// how a fade is shown by changing the palette alone. `indexed` and
// `pictures` pair up and must have the same sizes; colour i is the new
// colour of index i + 1. Nothing when any index's pixels part ways by more
// than `tolerance` levels (premultiplied) from their mean.
std::optional<std::vector<Rgba>> RefitPalette(std::span<const IndexedPicture> indexed,
                                              std::span<const RgbaPicture> pictures, int colours,
                                              int tolerance);

}  // namespace tesmora::pgs
