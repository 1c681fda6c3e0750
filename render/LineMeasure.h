#pragma once

#include <QFont>
#include <QString>

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
// measures as one blank.
LineMeasure MeasureLineWidth(const QString& text, const QFont& font);

// The text a line's width is measured on: mnemonic markers removed.
QString MeasuredText(const QString& text);

}  // namespace tesmora
