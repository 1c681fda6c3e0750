#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>

namespace tesmora {

// Whether a character of this direction is strongly right-to-left or a bidi
// control (an embedding, override or isolate, or the end of one).
bool IsRightToLeftOrBidiControl(QChar::Direction direction);

// Whether the line holds a strong right-to-left character or a bidi
// control: such a line must be laid out as one paragraph, so that the
// Unicode bidi algorithm orders its runs, rather than run after run.
bool NeedsBidiParagraph(const QString& text);

// Lays `layout` out as one line, without wrapping, as a paragraph whose
// direction its first strong character sets, with `formats` (each a range
// of the text in its own font) applied. The line's visual left edge is at
// x 0 and its top at y 0.
void LayOutBidiParagraph(QTextLayout& layout, const QString& text, const QFont& font,
                         const QList<QTextLayout::FormatRange>& formats);

}  // namespace tesmora
