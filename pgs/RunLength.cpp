#include "pgs/RunLength.h"

#include <algorithm>
#include <memory>

namespace tesmora::pgs {
namespace {

constexpr int kLongestRun = 0x3FFF;
constexpr std::uint8_t kTransparent = 0;
// The most bytes one run's code takes.
constexpr int kLongestCode = 4;

// Writes the code of one run at `at` and returns the end of what it wrote.
std::uint8_t* WriteRun(std::uint8_t* at, int length, std::uint8_t index) {
  const auto high = static_cast<std::uint8_t>(length >> 8);
  const auto low = static_cast<std::uint8_t>(length & 0xFF);
  if (index == 0) {
    *at++ = 0x00;
    if (length >= 64) {
      *at++ = static_cast<std::uint8_t>(0x40 | high);
    }
    *at++ = low;
    return at;
  }
  if (length < 3) {
    for (int i = 0; i < length; ++i) {
      *at++ = index;
    }
    return at;
  }
  *at++ = 0x00;
  if (length < 64) {
    *at++ = static_cast<std::uint8_t>(0x80 | low);
  } else {
    *at++ = static_cast<std::uint8_t>(0xC0 | high);
    *at++ = low;
  }
  *at++ = index;
  return at;
}

}  // namespace

void AppendRun(std::vector<std::uint8_t>& out, int length, std::uint8_t index) {
  std::uint8_t code[kLongestCode];
  const std::uint8_t* end = WriteRun(code, length, index);
  out.insert(out.end(), static_cast<const std::uint8_t*>(code), end);
}

std::vector<std::uint8_t> EncodeRunLength(std::span<const IndexRun> runs, int width, int height) {
  // The longest code a pixel can take is two bytes (a lone transparent
  // pixel), plus two a line: a buffer is sized for that once and written
  // through a pointer; it is not zeroed first, as only what was written is
  // kept, usually a fifth of it.
  const std::size_t columns = static_cast<std::size_t>(std::max(0, width));
  const std::size_t rows = static_cast<std::size_t>(std::max(0, height));
  const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(rows * (2 * columns + 2));
  std::uint8_t* const start = buffer.get();
  std::uint8_t* at = start;
  const auto writeRun = [&at](std::size_t length, std::uint8_t index) {
    for (; length > kLongestRun; length -= kLongestRun) {
      at = WriteRun(at, kLongestRun, index);
    }
    at = WriteRun(at, static_cast<int>(length), index);
  };
  std::size_t rowsWritten = 0;
  std::size_t column = 0;
  std::size_t pending = 0;  // pixels of `pendingIndex` not yet written
  std::uint8_t pendingIndex = 0;
  for (const IndexRun& run : runs) {
    if (rowsWritten == rows) {
      break;
    }
    // A run is cut at the row's end, which it may not cross.
    const std::size_t length = std::min<std::size_t>(run.length, columns - column);
    if (pending != 0 && run.index != pendingIndex) {
      writeRun(pending, pendingIndex);
      pending = 0;
    }
    pending += length;
    pendingIndex = run.index;
    column += length;
    if (column == columns) {
      if (pending != 0) {
        writeRun(pending, pendingIndex);
      }
      pending = 0;
      column = 0;
      *at++ = 0x00;
      *at++ = 0x00;
      ++rowsWritten;
    }
  }
  // Rows the runs do not fill are transparent to their ends.
  for (; rowsWritten < rows; ++rowsWritten) {
    std::size_t transparent = columns - column;
    if (pending != 0 && pendingIndex == kTransparent) {
      transparent += pending;
    } else if (pending != 0) {
      writeRun(pending, pendingIndex);
    }
    if (transparent != 0) {
      writeRun(transparent, kTransparent);
    }
    pending = 0;
    column = 0;
    *at++ = 0x00;
    *at++ = 0x00;
  }
  return std::vector<std::uint8_t>(start, at);
}

std::vector<std::uint8_t> EncodeRunLength(const IndexedPicture& picture) {
  const std::size_t width = static_cast<std::size_t>(std::max(0, picture.width));
  const std::size_t height = static_cast<std::size_t>(std::max(0, picture.height));
  std::vector<IndexRun> runs;
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* row = picture.indices.data() + y * width;
    for (std::size_t x = 0; x < width;) {
      std::size_t end = x + 1;
      while (end < width && row[end] == row[x]) {
        ++end;
      }
      runs.push_back({static_cast<std::uint32_t>(end - x), row[x]});
      x = end;
    }
  }
  return EncodeRunLength(runs, picture.width, picture.height);
}

}  // namespace tesmora::pgs
