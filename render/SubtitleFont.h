#pragma once

#include <QFont>
#include <QString>

#include "render/NameTables.h"

namespace tesmora {

// The em height in pixels of a font size in points, always at 96 pixels per
// inch so that the output never depends on the screen: 10 gives 13, 22 gives
// 29, 50 gives 67. Halves go to the even neighbour.
int EmPixels(int points);

// The subtitle font: face, em height, style flags; glyphs strictly bi-level
// and no kerning, so each character advances by its own width.
QFont SubtitleFont(const QString& fontName, int points, FontStyle style);

// A line of symbol-set text as the font can draw it: each U+F0xx character
// the font has no glyph for falls back to the byte xx itself.
QString SymbolTextForFont(const QString& text, const QFont& font);

}  // namespace tesmora
