#include "pgs/PaletteQuantiser.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

namespace tesmora::pgs {
namespace {

// Distinct colours to a number, by open addressing on the colour's four
// bytes as they lie in memory.
// Pictures hold a few hundred to a few thousand distinct colours, so this
// stays small and is much quicker per pixel than a node-based map.
class ColourTable {
 public:
  static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

  ColourTable() : slots_(1024, {0, kNone, 0}) {}

  // Adds `length` pixels of the colour `key` and gives its number: the one
  // it was given first, or `next` for a colour not met before. The count is
  // kept beside the key, so a run takes one look into the table.
  std::uint32_t Count(std::uint32_t key, std::uint32_t next, std::uint32_t length) {
    Slot* slot = &Probe(key);
    if (slot->value == kNone) {
      if ((used_ + 1) * 2 > slots_.size()) {
        Grow();
        slot = &Probe(key);
      }
      *slot = {key, next, 0};
      ++used_;
    }
    slot->count += length;
    return slot->value;
  }

  // The pixels counted of each colour, by its number.
  std::vector<std::uint32_t> Counts() const {
    std::vector<std::uint32_t> counts(used_, 0);
    for (const Slot& slot : slots_) {
      if (slot.value != kNone) {
        counts[slot.value] = slot.count;
      }
    }
    return counts;
  }

 private:
  // A display set's pictures hold far fewer pixels than 2^32.
  struct Slot {
    std::uint32_t key;
    std::uint32_t value;
    std::uint32_t count;
  };

  Slot& Probe(std::uint32_t key) {
    const std::size_t mask = slots_.size() - 1;
    // The product's top bits, which every byte of the colour moves.
    const std::size_t start = (key * 0x9E3779B1u) >> (32 - std::countr_zero(slots_.size()));
    for (std::size_t at = start;; at = (at + 1) & mask) {
      if (slots_[at].value == kNone || slots_[at].key == key) {
        return slots_[at];
      }
    }
  }

  void Grow() {
    std::vector<Slot> old(slots_.size() * 2, {0, kNone, 0});
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.value != kNone) {
        Probe(slot.key) = slot;
      }
    }
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

// A distinct colour as first met, with its premultiplied point; how many
// pixels have it is kept by the colour table.
struct SeenColour {
  Rgba colour;
  std::array<int, 4> point;  // premultiplied r, g, b and alpha
};

std::array<int, 4> Premultiplied(Rgba c) {
  const auto scale = [&](std::uint8_t v) { return (v * c.a + 127) / 255; };
  return {scale(c.r), scale(c.g), scale(c.b), c.a};
}

// A colour as the median cut sorts it: its premultiplied point and how
// many pixels have it, in eight bytes, so that sorting moves little.
struct CutColour {
  std::array<std::uint8_t, 4> point;
  std::uint32_t count;
};

// A run [begin, end) of the colour list and its widest axis.
struct Box {
  std::size_t begin = 0;
  std::size_t end = 0;
  int axis = 0;
  std::int64_t score = 0;
};

Box Measure(const std::vector<CutColour>& colours, std::size_t begin, std::size_t end) {
  Box box{begin, end, 0, 0};
  if (end - begin < 2) {
    return box;
  }
  std::int64_t weight = 0;
  std::array<int, 4> low{255, 255, 255, 255};
  std::array<int, 4> high{};
  for (std::size_t i = begin; i < end; ++i) {
    weight += colours[i].count;
    for (int axis = 0; axis < 4; ++axis) {
      low[axis] = std::min<int>(low[axis], colours[i].point[axis]);
      high[axis] = std::max<int>(high[axis], colours[i].point[axis]);
    }
  }
  for (int axis = 0; axis < 4; ++axis) {
    // Spread weighted by the pixels it covers, so a large soft area is
    // split before a few stray pixels.
    const std::int64_t score = static_cast<std::int64_t>(high[axis] - low[axis]) * weight;
    if (high[axis] > low[axis] && score >= box.score) {
      box.axis = axis;
      box.score = score;
    }
  }
  return box;
}

Rgba MeanColour(const std::vector<CutColour>& colours, const Box& box) {
  std::array<std::int64_t, 4> sum{};
  std::int64_t weight = 0;
  for (std::size_t i = box.begin; i < box.end; ++i) {
    for (int axis = 0; axis < 4; ++axis) {
      sum[axis] += static_cast<std::int64_t>(colours[i].point[axis]) * colours[i].count;
    }
    weight += colours[i].count;
  }
  const std::int64_t alpha = (sum[3] + weight / 2) / weight;
  if (alpha == 0) {
    return {0, 0, 0, 1};
  }
  // Back from premultiplied: the colour is the sum divided by the summed alpha.
  const auto straight = [&](int axis) {
    return static_cast<std::uint8_t>(
        std::min<std::int64_t>(255, (sum[axis] * 255 + sum[3] / 2) / sum[3]));
  };
  return {straight(0), straight(1), straight(2), static_cast<std::uint8_t>(alpha)};
}

std::vector<Rgba> MedianCut(std::vector<CutColour>& colours) {
  std::vector<Box> boxes{Measure(colours, 0, colours.size())};
  while (static_cast<int>(boxes.size()) < kMostColours) {
    const auto widest = std::max_element(
        boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.score < b.score; });
    if (widest->score == 0) {
      break;
    }
    const Box box = *widest;
    const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last, [axis = box.axis](const CutColour& a, const CutColour& b) {
      return a.point[axis] < b.point[axis];
    });
    std::int64_t total = 0;
    for (auto it = first; it != last; ++it) {
      total += it->count;
    }
    // The weighted median, kept off both ends so each half holds a colour.
    std::int64_t seen = 0;
    std::size_t split = box.begin + 1;
    for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
      seen += colours[i].count;
      split = i + 1;
      if (seen * 2 >= total) {
        break;
      }
    }
    *widest = Measure(colours, box.begin, split);
    boxes.push_back(Measure(colours, split, box.end));
  }
  std::vector<Rgba> palette;
  palette.reserve(boxes.size());
  for (const Box& box : boxes) {
    palette.push_back(MeanColour(colours, box));
  }
  return palette;
}

int Sum(const std::array<int, 4>& p) {
  return p[0] + p[1] + p[2] + p[3];
}

std::int64_t Distance(const std::array<int, 4>& a, const std::array<int, 4>& b) {
  std::int64_t distance = 0;
  for (int axis = 0; axis < 4; ++axis) {
    const std::int64_t d = a[axis] - b[axis];
    distance += d * d;
  }
  return distance;
}

// Finds the nearest palette point to a colour (squared distance, the lowest
// index among equals) without measuring every point: the points are kept in
// order of their components' sum, and the square of the sums' difference is
// at most four times the squared distance, so the search walks out from the
// colour's sum both ways and stops each way where no point further on can be
// as near as the best found.
class NearestPoint {
 public:
  explicit NearestPoint(std::vector<std::array<int, 4>> palette) : palette_(std::move(palette)) {
    order_.resize(palette_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) {
      order_[i] = {Sum(palette_[i]), i};
    }
    std::sort(order_.begin(), order_.end());
  }

  std::uint8_t IndexOf(const std::array<int, 4>& p) const {
    const int sum = Sum(p);
    const auto start =
        std::lower_bound(order_.begin(), order_.end(), std::pair<int, std::size_t>{sum, 0});
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    std::size_t found = 0;
    const auto consider = [&](const std::pair<int, std::size_t>& point) {
      const std::int64_t gap = point.first - sum;
      // gap² ≤ 4 d: past this bound no point can tie the best.
      if (best != std::numeric_limits<std::int64_t>::max() && gap * gap > 4 * best) {
        return false;
      }
      const std::int64_t distance = Distance(palette_[point.second], p);
      if (distance < best || (distance == best && point.second < found)) {
        best = distance;
        found = point.second;
      }
      return true;
    };
    for (auto it = start; it != order_.end() && consider(*it); ++it) {
    }
    for (auto it = start; it != order_.begin() && consider(*(it - 1)); --it) {
    }
    return static_cast<std::uint8_t>(found + 1);
  }

 private:
  std::vector<std::array<int, 4>> palette_;
  std::vector<std::pair<int, std::size_t>> order_;  // (sum, index), by sum
};

}  // namespace

QuantisedPictures QuantisePictures(std::span<const RgbaPicture> pictures) {
  std::vector<const RgbaPicture*> each;
  each.reserve(pictures.size());
  for (const RgbaPicture& picture : pictures) {
    each.push_back(&picture);
  }
  return QuantisePictures(each);
}

QuantisedPictures QuantisePictures(std::span<const RgbaPicture* const> pictures) {
  ColourTable seen;
  std::vector<SeenColour> colours;
  // Each picture as runs of one colour along its rows, by the colour's
  // number in `colours` plus one (0 where transparent): the pixels are
  // looked at once, and giving them their indices, like the run-length
  // code after it, takes a run at a time.
  struct ColourRun {
    std::uint32_t length;
    std::uint32_t number;
  };
  // Each picture's runs, written through a pointer into room for a run a
  // pixel, the most there can be, and counted.
  std::vector<std::unique_ptr<ColourRun[]>> colourRuns(pictures.size());
  std::vector<std::size_t> runCounts(pictures.size(), 0);
  for (std::size_t p = 0; p < pictures.size(); ++p) {
    const RgbaPicture& picture = *pictures[p];
    const std::size_t width = static_cast<std::size_t>(std::max(0, picture.width));
    const Rgba* const pixels = picture.pixels.data();
    const std::size_t size = width == 0 ? 0 : picture.pixels.size() / width * width;
    colourRuns[p] = std::make_unique_for_overwrite<ColourRun[]>(size);
    ColourRun* runs = colourRuns[p].get();
    for (std::size_t row = 0; row < size; row += width) {
      const std::size_t rowEnd = row + width;
      for (std::size_t i = row; i < rowEnd;) {
        const Rgba pixel = pixels[i];
        std::size_t end = i + 1;
        if (pixel.a == 0) {
          while (end < rowEnd && pixels[end].a == 0) {
            ++end;
          }
          *runs++ = {static_cast<std::uint32_t>(end - i), 0};
          i = end;
          continue;
        }
        // Text is drawn in runs of one colour, so a run is found by
        // comparing pixels whole and is counted at once.
        const auto raw = std::bit_cast<std::uint32_t>(pixel);
        while (end < rowEnd && std::bit_cast<std::uint32_t>(pixels[end]) == raw) {
          ++end;
        }
        const auto next = static_cast<std::uint32_t>(colours.size());
        const auto length = static_cast<std::uint32_t>(end - i);
        const std::uint32_t found = seen.Count(raw, next, length);
        if (found == next) {
          colours.push_back({pixel, Premultiplied(pixel)});
        }
        *runs++ = {length, found + 1};
        i = end;
      }
    }
    runCounts[p] = static_cast<std::size_t>(runs - colourRuns[p].get());
  }
  QuantisedPictures result;
  // The index each distinct colour is drawn with, by its number in
  // `colours` plus one; entry 0 is the transparent pixels'.
  std::vector<std::uint8_t> index_of(colours.size() + 1, kTransparentIndex);
  if (static_cast<int>(colours.size()) <= kMostColours) {
    for (std::size_t i = 0; i < colours.size(); ++i) {
      result.colours.push_back(colours[i].colour);
      index_of[i + 1] = static_cast<std::uint8_t>(i + 1);
    }
  } else {
    const std::vector<std::uint32_t> counts = seen.Counts();
    std::vector<CutColour> cut;
    cut.reserve(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
      const std::array<int, 4>& p = colours[i].point;
      cut.push_back({{static_cast<std::uint8_t>(p[0]), static_cast<std::uint8_t>(p[1]),
                      static_cast<std::uint8_t>(p[2]), static_cast<std::uint8_t>(p[3])},
                     counts[i]});
    }
    result.colours = MedianCut(cut);
    std::vector<std::array<int, 4>> points;
    points.reserve(result.colours.size());
    for (const Rgba& c : result.colours) {
      points.push_back(Premultiplied(c));
    }
    const NearestPoint nearest(std::move(points));
    for (std::size_t i = 0; i < colours.size(); ++i) {
      index_of[i + 1] = nearest.IndexOf(colours[i].point);
    }
  }

  result.pictures.reserve(pictures.size());
  result.runs.reserve(pictures.size());
  for (std::size_t p = 0; p < pictures.size(); ++p) {
    const RgbaPicture& picture = *pictures[p];
    const std::size_t width = static_cast<std::size_t>(std::max(0, picture.width));
    IndexedPicture& indexed = result.pictures.emplace_back();
    indexed = {picture.width, picture.height, {}};
    // Every run is written, a short one as sixteen bytes at once that the
    // runs after it write over: the picture has room for the last one's
    // excess until it is cut to its size.
    constexpr std::uint32_t kStore = 16;
    indexed.indices.resize(picture.pixels.size() + kStore, kTransparentIndex);
    std::vector<IndexRun>& runs = result.runs.emplace_back(runCounts[p]);
    IndexRun* last = runs.data() - 1;  // the run written last
    std::size_t at = 0;
    std::size_t column = 0;
    for (const ColourRun& run : std::span(colourRuns[p].get(), runCounts[p])) {
      const std::uint8_t index = index_of[run.number];
      // Neighbours in a row that took one index are one run.
      if (column != 0 && last->index == index) {
        last->length += run.length;
      } else {
        *++last = {run.length, index};
      }
      std::uint8_t* const to = indexed.indices.data() + at;
      if (run.length <= kStore) {
        std::memset(to, index, kStore);
      } else {
        std::memset(to, index, run.length);
      }
      at += run.length;
      column += run.length;
      if (column == width) {
        column = 0;
      }
    }
    indexed.indices.resize(picture.pixels.size());
    runs.resize(static_cast<std::size_t>(last + 1 - runs.data()));
  }
  return result;
}

}  // namespace tesmora::pgs
