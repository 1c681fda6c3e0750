#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <vector>

#include "render/GlyphMask.h"

namespace tesmora::testing {

// The reference mask of a line: every piece drawn with the painter's own
// text drawing on one canvas over where the text can put ink, and every
// pixel of it read back. Large glyphs are filled as paths, which can come
// out a pixel different elsewhere on a canvas, so the canvas is placed just
// as in the drawing under test.

inline bool HoldsMarks(const QString& text) {
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

inline QRect PainterInkBounds(const QString& text, const QFont& font, QPoint cell) {
  const QFontMetrics metrics(font);
  const int height = metrics.ascent() + metrics.descent();
  const QPoint baseline(cell.x(), cell.y() + metrics.ascent());
  QRect ink = metrics.boundingRect(text).translated(baseline).united(
      QRect(cell.x(), cell.y(), metrics.horizontalAdvance(text), height));
  if (HoldsMarks(text)) {
    QPainterPath outlines;
    outlines.addText(QPointF(baseline), font, text);
    ink |= outlines.boundingRect().toAlignedRect();
  }
  const int margin = height / 2 + 2;
  return ink.adjusted(-margin, -margin, margin, margin);
}

inline GlyphMask PainterTextMask(const std::vector<TextPiece>& pieces, const QRect& limit,
                                 int room) {
  QRect ink;
  for (const TextPiece& piece : pieces) {
    if (!piece.text.isEmpty()) {
      ink |= PainterInkBounds(piece.text, piece.font, piece.cell);
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
      painter.drawText(QPoint(piece.cell.x() - ink.left(),
                              piece.cell.y() + QFontMetrics(piece.font).ascent() - ink.top()),
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

}  // namespace tesmora::testing
