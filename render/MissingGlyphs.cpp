#include "render/MissingGlyphs.h"

#include <QSet>

#include "render/FaceFallback.h"

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
    if (!HasGlyph(character, FaceDrawing(character, font))) {
      missing += character;
    }
  }
  return missing;
}

}  // namespace tesmora
