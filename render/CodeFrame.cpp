#include "render/CodeFrame.h"

#include <algorithm>
#include <stdexcept>

namespace tesmora {

CodeFrame::CodeFrame(int height) : height_(height) {
  if (height < 1) {
    throw std::invalid_argument("a frame needs at least one row");
  }
  words_.assign(RowStart(height), 0);
}

unsigned CodeFrame::ink(int x, int y) const {
  const int word = x / 64;
  const int bit = x % 64;
  return static_cast<unsigned>(lowPlane(y)[word] >> bit & 1) |
         static_cast<unsigned>(highPlane(y)[word] >> bit & 1) << 1;
}

void CodeFrame::setInk(int x, int y, unsigned ink) {
  const int word = x / 64;
  const std::uint64_t bit = std::uint64_t{1} << (x % 64);
  std::uint64_t& low = lowPlane(y)[word];
  std::uint64_t& high = highPlane(y)[word];
  low = (ink & 1) != 0 ? low | bit : low & ~bit;
  high = (ink & 2) != 0 ? high | bit : high & ~bit;
}

void CodeFrame::clearRows(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, height_ - 1);
  if (first > last) {
    return;
  }
  std::fill(words_.begin() + static_cast<std::ptrdiff_t>(RowStart(first)),
            words_.begin() + static_cast<std::ptrdiff_t>(RowStart(last + 1)), 0);
}

}  // namespace tesmora
