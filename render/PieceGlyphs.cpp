#include "render/PieceGlyphs.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QTextLayout>

#include "render/BidiParagraph.h"
#include "render/MissingGlyphs.h"

namespace tesmora {

namespace {

// Whether every character lays out left to right in one line the same way
// in a text layout as in a painter's drawing of the text.
bool LaysOutPlainly(const QString& text) {
  for (const QChar c : text) {
    switch (c.category()) {
      case QChar::Other_Control:
      case QChar::Other_Format:
      case QChar::Separator_Line:
      case QChar::Separator_Paragraph:
        return false;
      default:
        break;
    }
    // Arabic digits also take the bidi algorithm's reordering.
    if (c.direction() == QChar::DirAN || IsRightToLeftOrBidiControl(c.direction())) {
      return false;
    }
  }
  return true;
}

// From this pixel size on (64 unless the environment sets another), the
// painter fills the outlines of a whole run of glyphs as one path instead of
// blitting cached glyph bitmaps; where the outlines of neighbouring glyphs
// meet, that differs from filling them one by one.
int SmallestPathDrawnSize() {
  const int chosen = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
  return chosen > 0 ? chosen : 64;
}

}  // namespace

std::optional<QList<QGlyphRun>> PieceGlyphs(const TextPiece& piece) {
  const QFont& font = piece.font;
  if (font.underline() || font.strikeOut() || font.overline() ||
      QFontInfo(font).pixelSize() >= SmallestPathDrawnSize() || !LaysOutPlainly(piece.text)) {
    return std::nullopt;
  }
  QTextLayout layout(piece.text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setNumColumns(static_cast<int>(piece.text.size()));
  layout.endLayout();
  if (line.textStart() != 0 || line.textLength() != piece.text.size()) {
    return std::nullopt;
  }
  // The layout puts the line's top at 0; the painter's baseline is the
  // cell's top plus the font's ascent.
  const QPointF shift(piece.cell.x() - line.x(),
                      piece.cell.y() + QFontMetrics(font).ascent() - line.y() - line.ascent());
  QList<QGlyphRun> runs = layout.glyphRuns();
  for (const QGlyphRun& run : runs) {
    // Text no installed font covers is left to the painter, which draws it
    // as boxes; the stand-in face has no glyphs to cache.
    if (IsBoxStandIn(run.rawFont())) {
      return std::nullopt;
    }
  }
  for (QGlyphRun& run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF& position : positions) {
      position += shift;
    }
    run.setPositions(positions);
  }
  return runs;
}

}  // namespace tesmora
