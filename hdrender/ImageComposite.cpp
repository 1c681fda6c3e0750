#include "hdrender/ImageComposite.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tesmora {

namespace {

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;   // one past the last column
  int bottom = 0;  // one past the last row

  void unite(const Box& other) {
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
  }
  bool holds(const Box& other) const {
    return other.left >= left && other.top >= top && other.right <= right && other.bottom <= bottom;
  }
};

Box BoxOf(const ASS_Image& image) {
  return {image.dst_x, image.dst_y, image.dst_x + image.w, image.dst_y + image.h};
}

bool Drawn(const ASS_Image& image) {
  return image.w > 0 && image.h > 0;
}

// The groups of rows the images cover, top to bottom, at most kMostRegions.
std::vector<Box> RegionBoxes(const ASS_Image* images) {
  std::vector<Box> boxes;
  for (const ASS_Image* image = images; image != nullptr; image = image->next) {
    if (Drawn(*image)) {
      boxes.push_back(BoxOf(*image));
    }
  }
  std::sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.top < b.top; });
  std::vector<Box> groups;
  for (const Box& box : boxes) {
    if (!groups.empty() && box.top < groups.back().bottom) {
      groups.back().unite(box);
    } else {
      groups.push_back(box);
    }
  }
  while (groups.size() > static_cast<std::size_t>(kMostRegions)) {
    std::size_t nearest = 0;
    int smallestGap = 0;
    for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
      const int gap = groups[i + 1].top - groups[i].bottom;
      if (i == 0 || gap < smallestGap) {
        nearest = i;
        smallestGap = gap;
      }
    }
    groups[nearest].unite(groups[nearest + 1]);
    groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(nearest) + 1);
  }
  return groups;
}

// Full alpha on the scale of coverage times opacity.
constexpr int kOpaque = 255 * 255;

// Lays one pixel of an image, `source` its alpha on the scale of
// coverage times opacity (not 0), over the region's pixel at `out`:
// straight alpha "over".
inline void LayPixelOver(Rgba& out, int source, const Rgba& colour) {
  const int under = out.a;
  if (under == 255) {
    // Over an opaque pixel the sum of the weights is kOpaque, a constant
    // the compiler divides by cheaply; this is most of a cue's text.
    const int below = kOpaque - source;
    const auto mix = [&](int top, int bottom) {
      return static_cast<std::uint8_t>((top * source + bottom * below + kOpaque / 2) / kOpaque);
    };
    out.r = mix(colour.r, out.r);
    out.g = mix(colour.g, out.g);
    out.b = mix(colour.b, out.b);
    return;
  }
  const int below = under * (kOpaque - source) / 255;
  const int total = source + below;
  const auto mix = [&](int top, int bottom) {
    return static_cast<std::uint8_t>((top * source + bottom * below + total / 2) / total);
  };
  out.r = mix(colour.r, out.r);
  out.g = mix(colour.g, out.g);
  out.b = mix(colour.b, out.b);
  out.a = static_cast<std::uint8_t>((total + 127) / 255);
}

// Lays one image over the region's picture: straight alpha "over".
void LayOver(RgbaRegion& region, const ASS_Image& image) {
  const std::uint32_t colour = image.color;
  const int opacity = 255 - static_cast<int>(colour & 0xFF);
  if (opacity == 0) {
    return;  // every pixel of it is transparent
  }
  // The pixel an image writes where nothing shows through, by coverage:
  // its colour with its own alpha, rounded from 0..255*255.
  std::array<Rgba, 256> alone{};
  for (int c = 0; c < 256; ++c) {
    alone[c] = {static_cast<std::uint8_t>(colour >> 24),
                static_cast<std::uint8_t>((colour >> 16) & 0xFF),
                static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                static_cast<std::uint8_t>((c * opacity + 127) / 255)};
  }
  // Over an opaque pixel the result depends only on that pixel and the
  // coverage, and most such pixels of a cue are one colour (the fill laid
  // over its outline): the results over the last opaque colour met are kept
  // by coverage. An entry with alpha 0 is not yet known; every result over
  // an opaque pixel is opaque.
  std::uint32_t overColour = 0;  // alpha 0: no opaque colour met yet
  std::array<Rgba, 256> over{};
  const auto lay = [&](Rgba& out, int c) {
    // Alphas in 0..255*255, so that no precision is lost before the end.
    const int source = c * opacity;
    if (out.a == 0 || source == kOpaque) {
      out = alone[c];
    } else if (out.a == 255) {
      if (const auto under = std::bit_cast<std::uint32_t>(out); under != overColour) {
        overColour = under;
        over.fill(Rgba{});
      }
      Rgba& known = over[c];
      if (known.a == 0) {
        known = out;
        LayPixelOver(known, source, alone[c]);
      }
      out = known;
    } else {
      LayPixelOver(out, source, alone[c]);
    }
  };
  for (int row = 0; row < image.h; ++row) {
    const unsigned char* coverage = image.bitmap + static_cast<std::ptrdiff_t>(row) * image.stride;
    Rgba* const line = region.pixels.data() +
                       static_cast<std::size_t>(image.dst_y - region.y + row) * region.width +
                       static_cast<std::size_t>(image.dst_x - region.x);
    int column = 0;
    // Most of an image's box is uncovered: eight columns are looked at
    // together and skipped when none is covered.
    for (; column + 8 <= image.w; column += 8) {
      std::uint64_t eight = 0;
      std::memcpy(&eight, coverage + column, sizeof eight);
      if (eight == 0) {
        continue;
      }
      // Only the covered ones of the eight are laid, found from the bytes
      // that are not zero.
      do {
        const int k = std::endian::native == std::endian::little ? std::countr_zero(eight) / 8
                                                                 : std::countl_zero(eight) / 8;
        lay(line[column + k], coverage[column + k]);
        eight &= std::endian::native == std::endian::little
                     ? ~(std::uint64_t{0xFF} << (8 * k))
                     : ~(std::uint64_t{0xFF} << (56 - 8 * k));
      } while (eight != 0);
    }
    for (; column < image.w; ++column) {
      if (coverage[column] != 0) {
        lay(line[column], coverage[column]);
      }
    }
  }
}

}  // namespace

std::vector<RgbaRegion> CompositeImages(const ASS_Image* images) {
  const std::vector<Box> boxes = RegionBoxes(images);
  std::vector<RgbaRegion> regions;
  regions.reserve(boxes.size());
  for (const Box& box : boxes) {
    RgbaRegion region;
    region.x = box.left;
    region.y = box.top;
    region.width = box.right - box.left;
    region.height = box.bottom - box.top;
    region.pixels.assign(static_cast<std::size_t>(region.width) * region.height, Rgba{});
    regions.push_back(std::move(region));
  }
  for (const ASS_Image* image = images; image != nullptr; image = image->next) {
    if (!Drawn(*image)) {
      continue;
    }
    const Box box = BoxOf(*image);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].holds(box)) {
        LayOver(regions[i], *image);
        break;
      }
    }
  }
  return regions;
}

}  // namespace tesmora
