#include "pgs/ObjectLayout.h"

#include <algorithm>
#include <optional>

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs {
namespace {

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;   // one past the last column
  int bottom = 0;  // one past the last row

  bool Empty() const { return right <= left || bottom <= top; }
  bool Overlaps(const Box& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

// The part of the region inside the frame that holds visible pixels.
std::optional<Box> VisibleBox(const PlacedPicture& region, int video_width, int video_height) {
  const RgbaPicture& picture = region.picture;
  // A picture whose pixels do not fill its size is shown as nothing rather
  // than read past its end.
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
    return std::nullopt;
  }
  const int from_x = std::max(0, -region.x);
  const int from_y = std::max(0, -region.y);
  const int to_x = std::min(picture.width, video_width - region.x);
  const int to_y = std::min(picture.height, video_height - region.y);
  Box box{to_x, to_y, from_x, from_y};
  for (int y = from_y; y < to_y; ++y) {
    const Rgba* row = &picture.At(0, y);
    // Only the columns left of the box found so far and right of it can
    // widen it: each row is searched from both ends.
    int x = from_x;
    while (x < to_x && row[x].a == 0) {
      ++x;
    }
    if (x >= to_x) {
      continue;
    }
    int last = to_x - 1;
    while (row[last].a == 0) {
      --last;
    }
    box.left = std::min(box.left, x);
    box.right = std::max(box.right, last + 1);
    box.top = std::min(box.top, y);
    box.bottom = std::max(box.bottom, y + 1);
  }
  if (box.Empty()) {
    return std::nullopt;
  }
  return Box{box.left + region.x, box.top + region.y, box.right + region.x, box.bottom + region.y};
}

// Widens one side of a box to `least` pixels, keeping it inside [0, limit).
void Widen(int& low, int& high, int least, int limit) {
  if (high - low >= least) {
    return;
  }
  high = std::min(limit, low + least);
  low = std::max(0, high - least);
}

// Draws `source` over `target` with straight alpha.
void DrawOver(Rgba& target, Rgba source) {
  if (source.a == 255 || target.a == 0) {
    target = source;
    return;
  }
  if (source.a == 0) {
    return;
  }
  const int a = source.a * 255 + target.a * (255 - source.a);  // alpha * 255
  const auto mix = [&](std::uint8_t s, std::uint8_t t) {
    const int premultiplied = s * source.a * 255 + t * target.a * (255 - source.a);
    return static_cast<std::uint8_t>((premultiplied + a / 2) / a);
  };
  target = {mix(source.r, target.r), mix(source.g, target.g), mix(source.b, target.b),
            static_cast<std::uint8_t>((a + 127) / 255)};
}

PlacedPicture Compose(std::span<const PlacedPicture* const> regions, const Box& box) {
  PlacedPicture result{box.left, box.top, {box.right - box.left, box.bottom - box.top, {}}, false};
  result.picture.pixels.resize(static_cast<std::size_t>(result.picture.width) *
                               result.picture.height);
  for (const PlacedPicture* each : regions) {
    const PlacedPicture& region = *each;
    const int from_x = std::max(box.left, region.x);
    const int from_y = std::max(box.top, region.y);
    const int to_x = std::min(box.right, region.x + region.picture.width);
    const int to_y = std::min(box.bottom, region.y + region.picture.height);
    if (regions.size() == 1) {
      // Drawn over nothing, a region's pixels are copied as they are.
      for (int y = from_y; y < to_y && from_x < to_x; ++y) {
        std::copy_n(&region.picture.At(from_x - region.x, y - region.y), to_x - from_x,
                    &result.picture.At(from_x - box.left, y - box.top));
      }
      continue;
    }
    for (int y = from_y; y < to_y; ++y) {
      for (int x = from_x; x < to_x; ++x) {
        DrawOver(result.picture.At(x - box.left, y - box.top),
                 region.picture.At(x - region.x, y - region.y));
      }
    }
  }
  return result;
}

// Which regions show, their boxes on the video, and whether they become
// one object.
struct Layout {
  std::vector<std::size_t> shown;  // positions in the regions given
  std::vector<Box> boxes;          // one per shown region
  bool merge = false;
};

Layout LayOut(std::span<const PlacedPicture* const> regions, int video_width, int video_height) {
  Layout layout;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    if (std::optional<Box> box = VisibleBox(*regions[i], video_width, video_height)) {
      Widen(box->left, box->right, kSmallestObjectSide, video_width);
      Widen(box->top, box->bottom, kSmallestObjectSide, video_height);
      layout.shown.push_back(i);
      layout.boxes.push_back(*box);
    }
  }
  layout.merge = layout.boxes.size() > static_cast<std::size_t>(kMostObjectsShown) ||
                 (layout.boxes.size() == 2 && layout.boxes[0].Overlaps(layout.boxes[1]));
  return layout;
}

PlacedPicture Merged(std::span<const PlacedPicture* const> regions, const Layout& layout) {
  Box all = layout.boxes.front();
  for (const Box& box : layout.boxes) {
    all = {std::min(all.left, box.left), std::min(all.top, box.top), std::max(all.right, box.right),
           std::max(all.bottom, box.bottom)};
  }
  PlacedPicture merged = Compose(regions, all);
  merged.forced =
      std::any_of(regions.begin(), regions.end(), [](const PlacedPicture* r) { return r->forced; });
  return merged;
}

// Cuts a region to `box`, which lies within it, moving its rows up in its
// own pixels rather than copying them to new ones.
PlacedPicture CutInPlace(PlacedPicture&& region, const Box& box) {
  RgbaPicture& picture = region.picture;
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  if (width != picture.width) {
    for (int y = 0; y < height; ++y) {
      const Rgba* from = &picture.At(box.left - region.x, box.top - region.y + y);
      std::copy_n(from, width, picture.pixels.data() + static_cast<std::size_t>(y) * width);
    }
  } else if (box.top != region.y) {
    const Rgba* from = &picture.At(0, box.top - region.y);
    std::copy_n(from, static_cast<std::size_t>(width) * height, picture.pixels.data());
  }
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  picture.width = width;
  picture.height = height;
  return {box.left, box.top, std::move(picture), region.forced};
}

bool Within(const Box& box, const PlacedPicture& region) {
  return box.left >= region.x && box.top >= region.y &&
         box.right <= region.x + region.picture.width &&
         box.bottom <= region.y + region.picture.height;
}

}  // namespace

std::vector<PlacedPicture> LayOutObjects(std::span<const PlacedPicture> regions, int video_width,
                                         int video_height) {
  std::vector<const PlacedPicture*> each;
  for (const PlacedPicture& region : regions) {
    each.push_back(&region);
  }
  return LayOutObjects(each, video_width, video_height);
}

std::vector<PlacedPicture> LayOutObjects(std::span<const PlacedPicture* const> regions,
                                         int video_width, int video_height) {
  const Layout layout = LayOut(regions, video_width, video_height);
  std::vector<PlacedPicture> objects;
  if (layout.merge) {
    objects.push_back(Merged(regions, layout));
    return objects;
  }
  for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
    objects.push_back(Compose(std::span(&regions[layout.shown[i]], 1), layout.boxes[i]));
    objects.back().forced = regions[layout.shown[i]]->forced;
  }
  return objects;
}

std::vector<PlacedPicture> LayOutObjects(std::vector<PlacedPicture>&& regions, int video_width,
                                         int video_height) {
  std::vector<const PlacedPicture*> each;
  for (const PlacedPicture& region : regions) {
    each.push_back(&region);
  }
  const Layout layout = LayOut(each, video_width, video_height);
  std::vector<PlacedPicture> objects;
  if (layout.merge) {
    objects.push_back(Merged(each, layout));
    return objects;
  }
  for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
    PlacedPicture& region = regions[layout.shown[i]];
    if (Within(layout.boxes[i], region)) {
      objects.push_back(CutInPlace(std::move(region), layout.boxes[i]));
    } else {
      // Widened past its own pixels: drawn onto a picture of the box.
      objects.push_back(Compose(std::span(&each[layout.shown[i]], 1), layout.boxes[i]));
      objects.back().forced = region.forced;
    }
  }
  return objects;
}

}  // namespace tesmora::pgs
