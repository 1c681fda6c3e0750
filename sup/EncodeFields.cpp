#include "sup/EncodeFields.h"

#include <stdexcept>

#include "sup/EncodeInkRow.h"
#include "sup/EncodeRow.h"

namespace tesmora {
namespace {

constexpr int kPixelDataStart = 4;  // unit offset of the pixel data

// Appends every row of the band with the given parity with appendRow(y) and
// returns the unit offset of the first one, or the offset of the leading zero
// bytes when the band has no such row.
template <class AppendRow>
int AppendField(const EncodeArea& area, int parity, const std::vector<std::uint8_t>& out,
                AppendRow&& appendRow) {
  int fieldOffset = kPixelDataStart;
  int y = area.firstLine;
  if ((y & 1) != parity) {
    ++y;
  }
  if (y <= area.lastLine()) {
    fieldOffset = static_cast<int>(out.size()) + kPixelDataStart;
  }
  for (; y <= area.lastLine(); y += 2) {
    appendRow(y);
  }
  return fieldOffset;
}

// Encodes both fields of a band of a frame of `height` rows, each row with
// appendRow(y, bytes).
template <class AppendRow>
PixelData EncodeBand(int height, const EncodeArea& area, AppendRow&& appendRow) {
  if (area.lineCount < 1 || area.firstLine < 0 || area.lastLine() >= height) {
    throw std::out_of_range("the encode area reaches outside the frame");
  }
  PixelData data;
  // A line takes at most a few hundred bytes; most take 8 to 40.
  data.bytes.reserve(2 + static_cast<std::size_t>(area.lineCount) * 48);
  data.bytes.push_back(0);
  data.bytes.push_back(0);
  const auto append = [&](int y) { appendRow(y, data.bytes); };
  data.topFieldOffset = AppendField(area, 0, data.bytes, append);
  data.bottomFieldOffset = AppendField(area, 1, data.bytes, append);
  return data;
}

}  // namespace

PixelData EncodeFields(const FrameBitmap& frame, const EncodeArea& area,
                       const RoleKeyColours& keys) {
  const PackedKeys packed(keys);
  return EncodeBand(frame.height(), area, [&](int y, std::vector<std::uint8_t>& out) {
    AppendEncodedRow(frame.row(y), packed, out);
  });
}

PixelData EncodeFields(const CodeFrame& frame, const EncodeArea& area) {
  return EncodeBand(frame.height(), area, [&frame](int y, std::vector<std::uint8_t>& out) {
    AppendEncodedInkRow(frame, y, out);
  });
}

}  // namespace tesmora
