#include "render/CodeFrameDrawing.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "render/CueDrawing.h"
#include "render/LineMasks.h"

namespace tesmora {
namespace {

Rgb RgbOf(QRgb colour) {
  return {static_cast<std::uint8_t>(qRed(colour)), static_cast<std::uint8_t>(qGreen(colour)),
          static_cast<std::uint8_t>(qBlue(colour))};
}

// The 64 columns of a mask row from column `start` on (counted from the
// mask's left edge, and negative before it), clear outside the mask.
std::uint64_t MaskBits(const GlyphMask& mask, int y, int start) {
  const std::uint64_t* row = mask.row(y);
  const int words = mask.wordsPerRow();
  const int word = start >= 0 ? start / 64 : -((63 - start) / 64);
  const int bit = start - word * 64;
  const auto at = [row, words](int w) { return w >= 0 && w < words ? row[w] : 0; };
  return bit == 0 ? at(word) : at(word) >> bit | at(word + 1) << (64 - bit);
}

// All ones where bit `plane` of `ink` is set, for or-ing an ink into a plane.
std::uint64_t PlaneFill(unsigned ink, unsigned plane) {
  return (ink >> plane & 1) != 0 ? ~std::uint64_t{0} : 0;
}

}  // namespace

RoleInks InksOfRoleColours(const RoleColours& colours, const RoleKeyColours& keys) {
  return AssignRoleInks(RgbOf(colours.outline), RgbOf(colours.antialias), RgbOf(colours.text),
                        keys);
}

QRect DrawOutlinedPieces(CodeFrame& frame, const std::vector<TextPiece>& pieces, int outlineWidth,
                         const RoleInks& inks, GlyphCache* glyphCache) {
  const LineMasks masks = OutlinedLineMasks(pieces, QRect(0, 0, CodeFrame::kWidth, frame.height()),
                                            outlineWidth, glyphCache);
  const QRect& area = masks.area;
  if (area.isEmpty()) {
    return {};
  }
  const std::uint64_t lowText = PlaneFill(inks.text, 0);
  const std::uint64_t highText = PlaneFill(inks.text, 1);
  const std::uint64_t lowRing = PlaneFill(inks.antialias, 0);
  const std::uint64_t highRing = PlaneFill(inks.antialias, 1);
  const std::uint64_t lowOutline = PlaneFill(inks.outline, 0);
  const std::uint64_t highOutline = PlaneFill(inks.outline, 1);
  const int maskLeft = masks.glyphs.area().left();
  const int firstWord = area.left() / 64;
  const int lastWord = area.right() / 64;
  int top = area.bottom() + 1;
  int bottom = area.top() - 1;
  int left = area.right() + 1;
  int right = area.left() - 1;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    std::uint64_t* low = frame.lowPlane(y);
    std::uint64_t* high = frame.highPlane(y);
    for (int w = firstWord; w <= lastWord; ++w) {
      const int start = w * 64 - maskLeft;
      std::uint64_t outer = MaskBits(masks.outline, y, start);
      if (w == CodeFrame::kWordsPerPlane - 1) {
        outer &= CodeFrame::kLastWordPixels;
      }
      if (outer == 0) {
        continue;
      }
      // Text over Antialias over Outline, as the last stamping to touch a
      // pixel decides its colour.
      const std::uint64_t core = MaskBits(masks.glyphs, y, start) & outer;
      const std::uint64_t ring = MaskBits(masks.ring, y, start) & outer & ~core;
      const std::uint64_t rest = outer & ~core & ~ring;
      low[w] = (low[w] & ~outer) | (core & lowText) | (ring & lowRing) | (rest & lowOutline);
      high[w] = (high[w] & ~outer) | (core & highText) | (ring & highRing) | (rest & highOutline);
      top = std::min(top, y);
      bottom = y;
      left = std::min(left, w * 64 + std::countr_zero(outer));
      right = std::max(right, w * 64 + 63 - std::countl_zero(outer));
    }
  }
  return top <= bottom ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
}

QRect DrawCues(CodeFrame& frame, const CuesLayout& layout, const SubtitleStyle& style,
               int outlineWidth, const RoleInks& inks, GlyphCache* glyphCache) {
  return DrawPlacedLines(layout, style, [&](const std::vector<TextPiece>& pieces) {
    return DrawOutlinedPieces(frame, pieces, outlineWidth, inks, glyphCache);
  });
}

}  // namespace tesmora
