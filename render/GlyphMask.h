#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <cstdint>
#include <vector>

namespace tesmora {

class GlyphCache;

// A bi-level mask over a rectangle of picture coordinates, one bit a pixel,
// each row packed into 64-bit words (bit i of word j is column 64 j + i of
// the row, counted from area.left()).
class GlyphMask {
 public:
  GlyphMask() = default;
  explicit GlyphMask(const QRect& area);

  const QRect& area() const { return area_; }
  int wordsPerRow() const { return wordsPerRow_; }

  bool test(int x, int y) const;  // picture coordinates; false outside the area
  void set(int x, int y);         // picture coordinates inside the area

  const std::uint64_t* row(int y) const {
    return words_.data() + static_cast<std::size_t>(y - area_.top()) * wordsPerRow_;
  }
  std::uint64_t* row(int y) {
    return words_.data() + static_cast<std::size_t>(y - area_.top()) * wordsPerRow_;
  }

 private:
  QRect area_;
  int wordsPerRow_ = 0;
  std::vector<std::uint64_t> words_;
};

// The pixels a bi-level drawing of `text` covers when its cell's top-left
// corner is at `cell`, restricted to `limit`, in a mask whose area leaves
// `room` pixels on every side for dilating it. The text is drawn once, with
// the same painter call as on a picture, so the mask matches a direct
// drawing pixel for pixel.
GlyphMask DrawTextMask(const QString& text, const QFont& font, QPoint cell, const QRect& limit,
                       int room);

// A piece of a line drawn in one font, its cell's top-left corner at `cell`.
// With `formats`, the piece is a whole line laid out as one bidi paragraph
// (see LayOutBidiParagraph), each range in its format's font, its baseline
// where `font` puts it.
struct TextPiece {
  QString text;
  QFont font;
  QPoint cell;
  QList<QTextLayout::FormatRange> formats = {};
};

// The pixels covered by drawing every piece, in order, on one canvas; one
// piece gives the very mask of DrawTextMask. The painter draws the text.
GlyphMask DrawTextMask(const std::vector<TextPiece>& pieces, const QRect& limit, int room);

// The same, composed from the glyph bitmaps in `cache` (drawing those it
// lacks), so that text drawn again costs no drawing at all. The mask's area
// is the ink, restricted to `limit`, with `room` on every side.
GlyphMask DrawTextMask(const std::vector<TextPiece>& pieces, const QRect& limit, int room,
                       GlyphCache& cache);

// Square dilation within the mask's own area: every pixel within `radius`
// (in x and in y) of a set pixel. Built as `radius` steps of a 3 x 3
// dilation, each separable into a shift-and-or along the rows and an or of
// neighbouring rows.
GlyphMask Dilate(const GlyphMask& mask, int radius);

}  // namespace tesmora
