#include "pgs/RunLength.h"

#include <algorithm>
#include <memory>

namespace tesmora::pgs {
namespace {

constexpr int kLongestRun = 0x3FFF;
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

std::vector<std::uint8_t> EncodeRunLength(const IndexedPicture& picture) {
  // The longest code a pixel can take is two bytes (a lone transparent
  // pixel), plus two a line: a buffer is sized for that once and written
  // through a pointer; it is not zeroed first, as only what was written is
  // kept, usually a fifth of it.
  const std::size_t width = static_cast<std::size_t>(std::max(0, picture.width));
  const std::size_t height = static_cast<std::size_t>(std::max(0, picture.height));
  const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(height * (2 * width + 2));
  std::uint8_t* const start = buffer.get();
  std::uint8_t* at = start;
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* row = picture.indices.data() + y * width;
    std::size_t x = 0;
    while (x < width) {
      const std::uint8_t index = row[x];
      std::size_t end = x + 1;
      while (end < width && row[end] == index) {
        ++end;
      }
      for (std::size_t left = end - x; left > 0;) {
        const auto length = static_cast<int>(std::min<std::size_t>(left, kLongestRun));
        at = WriteRun(at, length, index);
        left -= static_cast<std::size_t>(length);
      }
      x = end;
    }
    *at++ = 0x00;
    *at++ = 0x00;
  }
  return std::vector<std::uint8_t>(start, at);
}

}  // namespace tesmora::pgs
