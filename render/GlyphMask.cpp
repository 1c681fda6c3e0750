#include "render/GlyphMask.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

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

// Where the drawing of a line can put ink: the glyphs' own bounds and the
// cell (underline and strike-out run along the advance), with a margin for
// fonts whose reported bounds are a little tight.
QRect InkBounds(const QString& text, const QFont& font, QPoint cell) {
  const QFontMetrics metrics(font);
  const int height = metrics.ascent() + metrics.descent();
  const QPoint baseline(cell.x(), cell.y() + metrics.ascent());
  const QRect glyphs = metrics.boundingRect(text).translated(baseline);
  const QRect advance(cell.x(), cell.y(), metrics.horizontalAdvance(text), height);
  const int margin = height / 2 + 2;
  return glyphs.united(advance).adjusted(-margin, -margin, margin, margin);
}

}  // namespace

GlyphMask DrawTextMask(const QString& text, const QFont& font, QPoint cell, const QRect& limit) {
  const QRect area = InkBounds(text, font, cell).intersected(limit);
  GlyphMask mask(area);
  if (area.isEmpty() || text.isEmpty()) {
    return mask;
  }
  QImage canvas(area.size(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(QColor(Qt::white));
    const QFontMetrics metrics(font);
    painter.drawText(QPoint(cell.x() - area.left(), cell.y() + metrics.ascent() - area.top()),
                     text);
  }
  for (int y = 0; y < area.height(); ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    std::uint64_t* words = mask.row(area.top() + y);
    for (int x = 0; x < area.width(); ++x) {
      if (qAlpha(pixels[x]) != 0) {
        words[x / 64] |= std::uint64_t{1} << (x % 64);
      }
    }
  }
  return mask;
}

namespace {

// One step of 3 x 3 dilation into a mask one pixel larger on every side.
GlyphMask DilateOnce(const GlyphMask& in) {
  const QRect& from = in.area();
  if (from.isEmpty()) {
    return in;
  }
  GlyphMask out(from.adjusted(-1, -1, 1, 1));
  const int inWords = in.wordsPerRow();
  const int outWords = out.wordsPerRow();
  std::vector<std::uint64_t> spread(static_cast<std::size_t>(outWords));
  for (int y = from.top(); y <= from.bottom(); ++y) {
    // Shift the row one column right (the area grew one column on the left),
    // then or in its neighbours to the left and right.
    const std::uint64_t* source = in.row(y);
    std::uint64_t carry = 0;
    for (int w = 0; w < outWords; ++w) {
      const std::uint64_t word = w < inWords ? source[w] : 0;
      spread[w] = word << 1 | carry;
      carry = word >> 63;
    }
    std::uint64_t previous = 0;
    for (int w = 0; w < outWords; ++w) {
      const std::uint64_t next = w + 1 < outWords ? spread[w + 1] : 0;
      const std::uint64_t current = spread[w];
      const std::uint64_t wide =
          current | current << 1 | previous >> 63 | current >> 1 | next << 63;
      previous = current;
      for (int dy = 0; dy <= 2; ++dy) {
        out.row(y - 1 + dy)[w] |= wide;
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
