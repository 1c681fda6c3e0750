#pragma once

#include <QFont>
#include <QString>

namespace tesmora {

// Whether a layout of the single character in `font`, with Qt's fallback to
// other installed fonts, draws a real glyph for it rather than the font's
// "missing glyph" box.
bool HasGlyph(const QString& character, const QFont& font);

// The font `character` is drawn in when its run asks for `font`: that font
// when its own face has a glyph for it, else the first face of the same
// family with fewer style variants that has one (upright for italic,
// regular weight for bold, then both), else `font` itself, left to Qt's
// fallback to other fonts. An italic face often covers fewer scripts than
// the upright one; the family's upright letters, shaped together, are
// better than boxes or unjoined letters from elsewhere.
QFont FaceDrawing(const QString& character, const QFont& font);

}  // namespace tesmora
