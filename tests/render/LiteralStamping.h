#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <vector>

#include "render/GlyphMask.h"
#include "render/OutlinedLine.h"

namespace tesmora::testing {

// The reference look of a subtitle line: the text stamped in the Outline
// colour at every offset up to the outline width (dx outer, dy inner), in the
// Antialias colour at every offset up to 1, then once in the Text colour.
inline void StampOutlinedLine(QImage& picture, const QString& text, const QFont& font, QPoint cell,
                              int outlineWidth, const RoleColours& colours) {
  QPainter painter(&picture);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
  painter.setFont(font);
  const int ascent = QFontMetrics(font).ascent();
  const auto pass = [&](QRgb colour, int reach) {
    painter.setPen(QColor::fromRgb(colour));
    for (int dx = -reach; dx <= reach; ++dx) {
      for (int dy = -reach; dy <= reach; ++dy) {
        painter.drawText(QPoint(cell.x() + dx, cell.y() + dy + ascent), text);
      }
    }
  };
  pass(colours.outline, outlineWidth);
  pass(colours.antialias, 1);
  pass(colours.text, 0);
}

// The reference look of a line drawn in pieces of different fonts: each
// stamping draws every piece, so the rings go round all of them together.
inline void StampOutlinedPieces(QImage& picture, const std::vector<TextPiece>& pieces,
                                int outlineWidth, const RoleColours& colours) {
  QPainter painter(&picture);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
  const auto pass = [&](QRgb colour, int reach) {
    painter.setPen(QColor::fromRgb(colour));
    for (int dx = -reach; dx <= reach; ++dx) {
      for (int dy = -reach; dy <= reach; ++dy) {
        for (const TextPiece& piece : pieces) {
          painter.setFont(piece.font);
          painter.drawText(
              QPoint(piece.cell.x() + dx, piece.cell.y() + dy + QFontMetrics(piece.font).ascent()),
              piece.text);
        }
      }
    }
  };
  pass(colours.outline, outlineWidth);
  pass(colours.antialias, 1);
  pass(colours.text, 0);
}

}  // namespace tesmora::testing
