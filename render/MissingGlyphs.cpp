#include "render/MissingGlyphs.h"

#include <QGlyphRun>
#include <QSet>
#include <QTextLayout>

namespace tesmora {
namespace {

bool DrawsNoInkOfItsOwn(char32_t codePoint) {
  switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
      return true;
    default:
      return false;
  }
}

// Lays the character out as the drawing does, with Qt's font fallback; a
// glyph index of 0 is the font's "missing glyph", the empty box.
bool HasGlyph(const QString& character, const QFont& font) {
  QTextLayout layout(character, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.isEmpty()) {
    return false;
  }
  for (const QGlyphRun& run : runs) {
    if (IsBoxStandIn(run.rawFont())) {
      return false;
    }
    for (const quint32 glyph : run.glyphIndexes()) {
      if (glyph == 0) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool IsBoxStandIn(const QRawFont& face) {
  // Every real face has a font header; the stand-in has no tables at all.
  return !face.isValid() || face.fontTable("head").isEmpty();
}

QString CharactersWithoutGlyph(const QString& text, const QFont& font) {
  QString missing;
  QSet<char32_t> checked;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype length =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    const QString character = text.mid(i, length);
    i += length;
    const char32_t codePoint = character.toUcs4().value(0);
    if (DrawsNoInkOfItsOwn(codePoint) || checked.contains(codePoint)) {
      continue;
    }
    checked.insert(codePoint);
    if (!HasGlyph(character, font)) {
      missing += character;
    }
  }
  return missing;
}

}  // namespace tesmora
