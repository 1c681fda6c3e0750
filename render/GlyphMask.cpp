#include "render/GlyphMask.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

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

}  // namespace

GlyphMask DrawTextMask(const QString& text, const QFont& font, QPoint cell, const QRect& limit,
                       int room) {
  return DrawTextMask(std::vector<TextPiece>{{text, font, cell}}, limit, room);
}

GlyphMask DrawTextMask(const std::vector<TextPiece>& pieces, const QRect& limit, int room) {
  QRect ink;
  for (const TextPiece& piece : pieces) {
    if (!piece.text.isEmpty()) {
      ink |= InkBounds(piece.text, piece.font, piece.cell);
    }
  }
  ink = ink.intersected(limit);
  if (ink.isEmpty()) {
    return GlyphMask();
  }
  GlyphMask mask(ink.adjusted(-room, -room, room, room));
  QImage canvas(ink.size(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
    painter.setPen(QColor(Qt::white));
    for (const TextPiece& piece : pieces) {
      if (piece.text.isEmpty()) {
        continue;
      }
      painter.setFont(piece.font);
      const QFontMetrics metrics(piece.font);
      painter.drawText(
          QPoint(piece.cell.x() - ink.left(), piece.cell.y() + metrics.ascent() - ink.top()),
          piece.text);
    }
  }
  for (int y = 0; y < ink.height(); ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    for (int x = 0; x < ink.width(); ++x) {
      if (qAlpha(pixels[x]) != 0) {
        mask.set(ink.left() + x, ink.top() + y);
      }
    }
  }
  return mask;
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
