#include "sup/EncodeFields.h"

#include <stdexcept>

#include "sup/EncodeRow.h"

namespace tesmora {
namespace {

constexpr int kPixelDataStart = 4;  // unit offset of the pixel data

// Appends every row of the band with the given parity and returns the unit
// offset of the first one, or the offset of the leading zero bytes when the
// band has no such row.
int AppendField(const FrameBitmap& frame, const EncodeArea& area, int parity,
                const PackedKeys& keys, std::vector<std::uint8_t>& out) {
  int fieldOffset = kPixelDataStart;
  int y = area.firstLine;
  if ((y & 1) != parity) {
    ++y;
  }
  if (y <= area.lastLine()) {
    fieldOffset = static_cast<int>(out.size()) + kPixelDataStart;
  }
  for (; y <= area.lastLine(); y += 2) {
    AppendEncodedRow(frame.row(y), keys, out);
  }
  return fieldOffset;
}

}  // namespace

PixelData EncodeFields(const FrameBitmap& frame, const EncodeArea& area,
                       const RoleKeyColours& keys) {
  if (area.lineCount < 1 || area.firstLine < 0 || area.lastLine() >= frame.height()) {
    throw std::out_of_range("the encode area reaches outside the frame");
  }
  PixelData data;
  // A line takes at most a few hundred bytes; most take 8 to 40.
  data.bytes.reserve(2 + static_cast<std::size_t>(area.lineCount) * 48);
  data.bytes.push_back(0);
  data.bytes.push_back(0);
  const PackedKeys packed(keys);
  data.topFieldOffset = AppendField(frame, area, 0, packed, data.bytes);
  data.bottomFieldOffset = AppendField(frame, area, 1, packed, data.bytes);
  return data;
}

}  // namespace tesmora
