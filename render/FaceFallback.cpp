#include "render/FaceFallback.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>

#include "render/MissingGlyphs.h"

namespace tesmora {

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

QFont FaceDrawing(const QString& character, const QFont& font) {
  const bool italic = font.italic();
  const bool bold = font.weight() > QFont::Normal;
  if (!italic && !bold) {
    return font;
  }
  const char32_t codePoint = character.toUcs4().value(0);
  if (QFontMetrics(font).inFontUcs4(codePoint)) {
    return font;
  }
  QFont upright = font;
  upright.setItalic(false);
  QFont regular = font;
  regular.setWeight(QFont::Normal);
  QFont plain = upright;
  plain.setWeight(QFont::Normal);
  for (const QFont& candidate : {upright, regular, plain}) {
    if (candidate != font && QFontMetrics(candidate).inFontUcs4(codePoint)) {
      return candidate;
    }
  }
  return font;
}

}  // namespace tesmora
