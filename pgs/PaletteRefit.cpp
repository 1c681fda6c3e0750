#include "pgs/PaletteRefit.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace tesmora::pgs {
namespace {

std::array<int, 4> Premultiplied(Rgba c) {
  const auto scale = [&](std::uint8_t v) { return (v * c.a + 127) / 255; };
  return {scale(c.r), scale(c.g), scale(c.b), c.a};
}

}  // namespace

std::optional<std::vector<Rgba>> RefitPalette(std::span<const IndexedPicture> indexed,
                                              std::span<const RgbaPicture> pictures, int colours,
                                              int tolerance) {
  if (indexed.size() != pictures.size()) {
    return std::nullopt;
  }
  struct Range {
    std::array<std::int64_t, 4> sum{};
    std::array<int, 4> low{255, 255, 255, 255};
    std::array<int, 4> high{};
    std::int64_t count = 0;
  };
  std::vector<Range> ranges(static_cast<std::size_t>(colours) + 1);
  for (std::size_t n = 0; n < pictures.size(); ++n) {
    const IndexedPicture& old = indexed[n];
    const RgbaPicture& now = pictures[n];
    if (old.width != now.width || old.height != now.height ||
        old.indices.size() != now.pixels.size()) {
      return std::nullopt;
    }
    for (std::size_t i = 0; i < now.pixels.size(); ++i) {
      const std::uint8_t index = old.indices[i];
      if (index == 0) {
        if (now.pixels[i].a != 0) {
          return std::nullopt;
        }
        continue;
      }
      if (index > colours) {
        return std::nullopt;
      }
      Range& range = ranges[index];
      const std::array<int, 4> p = Premultiplied(now.pixels[i]);
      for (int axis = 0; axis < 4; ++axis) {
        range.sum[axis] += p[axis];
        range.low[axis] = std::min(range.low[axis], p[axis]);
        range.high[axis] = std::max(range.high[axis], p[axis]);
      }
      ++range.count;
    }
  }
  std::vector<Rgba> refit;
  for (int index = 1; index <= colours; ++index) {
    const Range& range = ranges[static_cast<std::size_t>(index)];
    if (range.count == 0) {
      refit.push_back({0, 0, 0, 0});
      continue;
    }
    std::array<int, 4> mean{};
    for (int axis = 0; axis < 4; ++axis) {
      mean[axis] = static_cast<int>((range.sum[axis] + range.count / 2) / range.count);
      if (mean[axis] - range.low[axis] > tolerance || range.high[axis] - mean[axis] > tolerance) {
        return std::nullopt;
      }
    }
    if (mean[3] == 0) {
      refit.push_back({0, 0, 0, 0});
      continue;
    }
    const auto straight = [&](int v) {
      return static_cast<std::uint8_t>(std::min(255, (v * 255 + mean[3] / 2) / mean[3]));
    };
    refit.push_back({straight(mean[0]), straight(mean[1]), straight(mean[2]),
                     static_cast<std::uint8_t>(mean[3])});
  }
  return refit;
}

}  // namespace tesmora::pgs
