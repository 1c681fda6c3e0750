#include "pgs/RunLength.h"

#include <algorithm>

namespace tesmora::pgs {
namespace {

constexpr int kLongestRun = 0x3FFF;

}  // namespace

void AppendRun(std::vector<std::uint8_t>& out, int length, std::uint8_t index) {
  const auto high = static_cast<std::uint8_t>(length >> 8);
  const auto low = static_cast<std::uint8_t>(length & 0xFF);
  if (index == 0) {
    if (length < 64) {
      out.insert(out.end(), {0x00, low});
    } else {
      out.insert(out.end(), {0x00, static_cast<std::uint8_t>(0x40 | high), low});
    }
    return;
  }
  if (length < 3) {
    out.insert(out.end(), static_cast<std::size_t>(length), index);
  } else if (length < 64) {
    out.insert(out.end(), {0x00, static_cast<std::uint8_t>(0x80 | low), index});
  } else {
    out.insert(out.end(), {0x00, static_cast<std::uint8_t>(0xC0 | high), low, index});
  }
}

std::vector<std::uint8_t> EncodeRunLength(const IndexedPicture& picture) {
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(picture.height) * 16);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* row = picture.indices.data() + static_cast<std::size_t>(y) * picture.width;
    int x = 0;
    while (x < picture.width) {
      const std::uint8_t index = row[x];
      int end = x + 1;
      while (end < picture.width && row[end] == index) {
        ++end;
      }
      for (int left = end - x; left > 0;) {
        const int length = std::min(left, kLongestRun);
        AppendRun(out, length, index);
        left -= length;
      }
      x = end;
    }
    out.insert(out.end(), {0x00, 0x00});
  }
  return out;
}

}  // namespace tesmora::pgs
