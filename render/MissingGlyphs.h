#pragma once

#include <QFont>
#include <QRawFont>
#include <QString>

namespace tesmora {

// The characters of `text` that neither `font` nor any installed font Qt
// falls back to has a glyph for, nor another face of the font's family that
// the drawing turns to (see FaceDrawing): they would be drawn as empty boxes. Each is
// listed once, in the order of its first appearance. Blanks, control and
// format characters draw no ink of their own and are never listed.
QString CharactersWithoutGlyph(const QString& text, const QFont& font);

// Whether a face of a laid-out glyph run is the stand-in Qt takes when no
// installed font covers a script that needs shaping (Devanagari, Tamil,
// Khmer and the like): it has no font data and draws every character as an
// empty box. Its glyphs are not real glyph indexes, and it has no family.
bool IsBoxStandIn(const QRawFont& face);

}  // namespace tesmora
