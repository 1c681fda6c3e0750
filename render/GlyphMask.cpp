#include "render/GlyphMask.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "render/BidiParagraph.h"
#include "render/GlyphCache.h"
#include "render/PieceGlyphs.h"

namespace tesmora {

GlyphMask::GlyphMask(const QRect& area)
    : area_(area),
      wordsPerRow_(area.isEmpty() ? 0 : (area.width() + 63) / 64),
      words_(area.isEmpty() ? 0 : static_cast<std::size_t>(wordsPerRow_) * area.height(), 0) {}

bool GlyphMask::test(int x, int y) const {
  if (!area_.contains(x, y)) {
    return false;
  }
  const int column = x - area_.left();
  return (row(y)[column / 64] >> (column % 64) & 1) != 0;
}

void GlyphMask::set(int x, int y) {
  const int column = x - area_.left();
  row(y)[column / 64] |= std::uint64_t{1} << (column % 64);
}

namespace {

// Whether the text holds combining marks. The layout moves a mark onto the
// letter before it, and marks stacked on one letter rise (or sink) far past
// the font's bounds of the glyphs; other glyphs stay where their advances
// put them.
bool HoldsMarks(const QString& text) {
  for (const QChar c : text) {
    switch (c.category()) {
      case QChar::Mark_NonSpacing:
      case QChar::Mark_SpacingCombining:
      case QChar::Mark_Enclosing:
        return true;
      default:
        break;
    }
  }
  return false;
}

// Where the drawing of a line can put ink: the font's bounds of the glyphs
// and the cell (underline and strike-out run along the advance), and for
// text with marks the glyph outlines as laid out, with a margin for the
// hinted, bi-level drawing, which may reach a little past the outlines.
QRect InkBounds(const QString& text, const QFont& font, QPoint cell) {
  const QFontMetrics metrics(font);
  const int height = metrics.ascent() + metrics.descent();
  const QPoint baseline(cell.x(), cell.y() + metrics.ascent());
  QRect ink = metrics.boundingRect(text).translated(baseline).united(
      QRect(cell.x(), cell.y(), metrics.horizontalAdvance(text), height));
  if (HoldsMarks(text)) {
    // Drawn outlines cost more than the font's bounds, so only where needed.
    QPainterPath outlines;
    outlines.addText(QPointF(baseline), font, text);
    ink |= outlines.boundingRect().toAlignedRect();
  }
  const int margin = height / 2 + 2;
  return ink.adjusted(-margin, -margin, margin, margin);
}

// The pen position of a bidi paragraph piece's laid out line: its left edge
// at the cell's left, its baseline where the piece's font puts it.
QPointF ParagraphOrigin(const TextPiece& piece, const QTextLine& line) {
  return QPointF(piece.cell.x() - line.x(),
                 piece.cell.y() + QFontMetrics(piece.font).ascent() - line.y() - line.ascent());
}

// Where the drawing of a bidi paragraph piece can put ink: its glyphs'
// bounds, the line (underline and strike-out run along it), and a margin as
// for other text.
QRect ParagraphInkBounds(const TextPiece& piece) {
  QTextLayout layout;
  LayOutBidiParagraph(layout, piece.text, piece.font, piece.formats);
  if (layout.lineCount() == 0) {
    return QRect();
  }
  const QTextLine line = layout.lineAt(0);
  QRectF ink(line.x(), line.y(), line.horizontalAdvance(), line.height());
  for (const QGlyphRun& run : layout.glyphRuns()) {
    ink |= run.boundingRect();
  }
  const int height = QFontMetrics(piece.font).height();
  const int margin = height / 2 + 2;
  return ink.translated(ParagraphOrigin(piece, line))
      .toAlignedRect()
      .adjusted(-margin, -margin, margin, margin);
}

QRect PieceInkBounds(const TextPiece& piece) {
  return piece.formats.isEmpty() ? InkBounds(piece.text, piece.font, piece.cell)
                                 : ParagraphInkBounds(piece);
}

// The pieces the painter draws itself, on one canvas over `canvasArea`.
// Large glyphs are filled as paths, which can come out a pixel different
// elsewhere on a canvas, so the canvas is always the one over where every
// piece of the line can put ink.
QImage PaintPieces(const std::vector<const TextPiece*>& pieces, const QRect& canvasArea) {
  QImage canvas(canvasArea.size(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  QPainter painter(&canvas);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
  painter.setPen(QColor(Qt::white));
  for (const TextPiece* piece : pieces) {
    if (!piece->formats.isEmpty()) {
      QTextLayout layout;
      LayOutBidiParagraph(layout, piece->text, piece->font, piece->formats);
      if (layout.lineCount() > 0) {
        layout.draw(&painter,
                    ParagraphOrigin(*piece, layout.lineAt(0)) - QPointF(canvasArea.topLeft()));
      }
      continue;
    }
    painter.setFont(piece->font);
    const QFontMetrics metrics(piece->font);
    painter.drawText(QPoint(piece->cell.x() - canvasArea.left(),
                            piece->cell.y() + metrics.ascent() - canvasArea.top()),
                     piece->text);
  }
  return canvas;
}

// Sets the mask's pixels where the canvas over `canvasArea` holds ink within
// `area`.
void SetPaintedPixels(GlyphMask& mask, const QImage& canvas, const QRect& canvasArea,
                      const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(canvas.constScanLine(y - canvasArea.top()));
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qAlpha(pixels[x - canvasArea.left()]) != 0) {
        mask.set(x, y);
      }
    }
  }
}

// A cached glyph bitmap at a whole-pixel pen position.
struct PlacedGlyph {
  std::shared_ptr<const GlyphBitmap> bitmap;
  QPoint pen;

  QRect ink() const { return bitmap->ink.translated(pen); }
};

void PlaceRuns(const QFont& font, const QList<QGlyphRun>& runs, GlyphCache& cache,
               std::vector<PlacedGlyph>& placed) {
  for (const QGlyphRun& run : runs) {
    const QRawFont face = run.rawFont();
    const int faceNumber = cache.face(font, face);
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    const qsizetype count = std::min(indexes.size(), positions.size());
    for (qsizetype i = 0; i < count; ++i) {
      // Layout positions are whole 64ths of a pixel.
      const long long x = std::llround(positions[i].x() * 64);
      const long long y = std::llround(positions[i].y() * 64);
      const long long wholeX = x >= 0 ? x / 64 : -((-x + 63) / 64);
      const long long wholeY = y >= 0 ? y / 64 : -((-y + 63) / 64);
      const PixelFraction fraction{static_cast<int>(x - wholeX * 64),
                                   static_cast<int>(y - wholeY * 64)};
      std::shared_ptr<const GlyphBitmap> bitmap =
          cache.glyph(faceNumber, face, indexes[i], fraction);
      if (!bitmap->ink.isEmpty()) {
        placed.push_back(
            {std::move(bitmap), QPoint(static_cast<int>(wholeX), static_cast<int>(wholeY))});
      }
    }
  }
}

// The bits of one 64-column word of a glyph row whose first column is
// `first` (picture x) that fall within columns left..right.
std::uint64_t ColumnsWithin(long long first, int left, int right) {
  const long long low = std::max<long long>(left - first, 0);
  const long long high = std::min<long long>(right - first, 63);
  if (low > high) {
    return 0;
  }
  const std::uint64_t upTo = high == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (high + 1)) - 1;
  return upTo & ~((std::uint64_t{1} << low) - 1);
}

// ORs the glyph's pixels within `limit` into the mask, a word at a time.
void OrGlyph(GlyphMask& mask, const PlacedGlyph& glyph, const QRect& limit) {
  const GlyphBitmap& bitmap = *glyph.bitmap;
  const QRect ink = glyph.ink();
  const QRect kept = ink.intersected(limit);
  if (kept.isEmpty()) {
    return;
  }
  const bool wholeRows = kept.left() == ink.left() && kept.right() == ink.right();
  const int words = mask.wordsPerRow();
  // The column of the mask that each glyph row's first bit falls on.
  const long long start = static_cast<long long>(ink.left()) - mask.area().left();
  for (int y = kept.top(); y <= kept.bottom(); ++y) {
    const std::uint64_t* source = bitmap.row(y - ink.top());
    std::uint64_t* target = mask.row(y);
    for (int k = 0; k < bitmap.wordsPerRow; ++k) {
      std::uint64_t bits = source[k];
      if (!wholeRows) {
        bits &= ColumnsWithin(static_cast<long long>(ink.left()) + 64LL * k, limit.left(),
                              limit.right());
      }
      if (bits == 0) {
        continue;
      }
      const long long column = start + 64LL * k;
      const long long word = column >= 0 ? column / 64 : -((-column + 63) / 64);
      const int shift = static_cast<int>(column - word * 64);
      if (word >= 0 && word < words) {
        target[word] |= bits << shift;
      }
      if (shift != 0 && word + 1 >= 0 && word + 1 < words) {
        target[word + 1] |= bits >> (64 - shift);
      }
    }
  }
}

// The mask of the pieces, from cached glyph bitmaps where there is a cache
// and the piece can be drawn glyph by glyph, else by the painter.
GlyphMask ComposeTextMask(const std::vector<TextPiece>& pieces, const QRect& limit, int room,
                          GlyphCache* cache) {
  std::vector<PlacedGlyph> glyphs;
  std::vector<const TextPiece*> painted;
  for (const TextPiece& piece : pieces) {
    if (piece.text.isEmpty()) {
      continue;
    }
    std::optional<QList<QGlyphRun>> runs;
    if (cache != nullptr && piece.formats.isEmpty()) {
      runs = PieceGlyphs(piece);
    }
    if (runs) {
      PlaceRuns(piece.font, *runs, *cache, glyphs);
    } else {
      painted.push_back(&piece);
    }
  }
  QRect ink;
  for (const PlacedGlyph& glyph : glyphs) {
    ink |= glyph.ink();
  }
  QRect canvasArea;
  QRect paintedArea;
  if (!painted.empty()) {
    for (const TextPiece& piece : pieces) {
      if (piece.text.isEmpty()) {
        continue;
      }
      const QRect bounds = PieceInkBounds(piece);
      canvasArea |= bounds;
      if (std::find(painted.begin(), painted.end(), &piece) != painted.end()) {
        paintedArea |= bounds;
      }
    }
    canvasArea &= limit;
    paintedArea &= limit;
    ink |= paintedArea;
  }
  ink &= limit;
  if (ink.isEmpty()) {
    return GlyphMask();
  }
  GlyphMask mask(ink.adjusted(-room, -room, room, room));
  for (const PlacedGlyph& glyph : glyphs) {
    OrGlyph(mask, glyph, limit);
  }
  if (!paintedArea.isEmpty()) {
    SetPaintedPixels(mask, PaintPieces(painted, canvasArea), canvasArea, paintedArea);
  }
  return mask;
}

}  // namespace

GlyphMask DrawTextMask(const QString& text, const QFont& font, QPoint cell, const QRect& limit,
                       int room) {
  return DrawTextMask(std::vector<TextPiece>{{text, font, cell}}, limit, room);
}

GlyphMask DrawTextMask(const std::vector<TextPiece>& pieces, const QRect& limit, int room) {
  return ComposeTextMask(pieces, limit, room, nullptr);
}

GlyphMask DrawTextMask(const std::vector<TextPiece>& pieces, const QRect& limit, int room,
                       GlyphCache& cache) {
  return ComposeTextMask(pieces, limit, room, &cache);
}

namespace {

// One step of 3 x 3 dilation, within the same area.
GlyphMask DilateOnce(const GlyphMask& in) {
  const QRect& area = in.area();
  GlyphMask out(area);
  const int words = in.wordsPerRow();
  if (words == 0) {
    return out;
  }
  // Columns past the area's width in the last word stay clear.
  const int tailBits = area.width() % 64;
  const std::uint64_t lastWordMask =
      tailBits == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << tailBits) - 1;
  std::vector<std::uint64_t> wide(static_cast<std::size_t>(words));
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const std::uint64_t* row = in.row(y);
    for (int w = 0; w < words; ++w) {
      const std::uint64_t previous = w > 0 ? row[w - 1] : 0;
      const std::uint64_t next = w + 1 < words ? row[w + 1] : 0;
      wide[w] = row[w] | row[w] << 1 | previous >> 63 | row[w] >> 1 | next << 63;
    }
    wide[words - 1] &= lastWordMask;
    for (int target = std::max(y - 1, area.top()); target <= std::min(y + 1, area.bottom());
         ++target) {
      std::uint64_t* outRow = out.row(target);
      for (int w = 0; w < words; ++w) {
        outRow[w] |= wide[w];
      }
    }
  }
  return out;
}

}  // namespace

GlyphMask Dilate(const GlyphMask& mask, int radius) {
  GlyphMask result = mask;
  for (int step = 0; step < radius; ++step) {
    result = DilateOnce(result);
  }
  return result;
}

}  // namespace tesmora
