#pragma once

#include <QFont>
#include <QString>
#include <limits>

namespace tesmora {

struct LineMeasure {
  int width = 0;
  int height = 0;

  friend bool operator==(const LineMeasure&, const LineMeasure&) = default;
};

// The width of a line laid out as one line, and the font's cell height
// (ascent plus descent). Tabs advance to the next default tab stop (every
// eight average character widths); "&" counts as a label's mnemonic marker:
// a single "&" takes no room and "&&" stands for one "&". An empty line
// measures as one blank. The width is summed in 64 bits; a line with more
// characters that take room than the frame has pixel columns cannot fit and
// measures as kUnmeasurablyWide without being laid out.
LineMeasure MeasureLineWidth(const QString& text, const QFont& font);

// The width of a line too long to lay out, wider than any frame.
inline constexpr int kUnmeasurablyWide = std::numeric_limits<int>::max();

// The text a line's width is measured on: mnemonic markers removed.
QString MeasuredText(const QString& text);

// The characters of `text` that take room: all but mnemonic markers,
// combining marks and format characters. Each takes at least a pixel.
qsizetype CharactersTakingRoom(const QString& text);

}  // namespace tesmora
