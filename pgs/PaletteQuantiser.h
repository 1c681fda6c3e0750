#pragma once

#include <span>
#include <vector>

#include "pgs/RgbaPicture.h"

namespace tesmora::pgs {

// Index 0 is the transparent entry; the colours take 1-255.
inline constexpr std::uint8_t kTransparentIndex = 0;
inline constexpr int kMostColours = 255;

// The shared palette of a display set's pictures and each picture in it.
// colours[i] is the colour of index i + 1. runs[i] is pictures[i] as runs of
// one index, row by row: none crosses a row's end, and neighbours in a row
// differ in index.
struct QuantisedPictures {
  std::vector<Rgba> colours;
  std::vector<IndexedPicture> pictures;
  std::vector<std::vector<IndexRun>> runs;
};

// Gives the pictures one palette of at most 255 colours plus transparent.
// Every pixel with alpha 0 becomes index 0. When the pictures hold at most
// 255 other colours each keeps its exact value; otherwise the colours are
// cut into 255 boxes by the median of the most spread-out one, in
// premultiplied RGB and alpha weighted by how often each colour occurs, and
// each pixel takes the nearest box mean. Antialiased text is a few ramps
// between its style colours, which this follows closely.
QuantisedPictures QuantisePictures(std::span<const RgbaPicture> pictures);
QuantisedPictures QuantisePictures(std::span<const RgbaPicture* const> pictures);

}  // namespace tesmora::pgs
