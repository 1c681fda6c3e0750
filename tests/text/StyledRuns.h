// Short forms for expected styled lines in the markup and wrapping tests.
#pragma once

#include <QString>
#include <initializer_list>
#include <ostream>

#include "text/StyledLine.h"

namespace tesmora {

// A run with the styles named by letters: b bold, i italic, u underline,
// s strike-out.
inline TextRun Styled(const char* text, const char* styles = "") {
  const QString letters = QString::fromLatin1(styles);
  return TextRun{QString::fromUtf8(text), letters.contains(u'b'), letters.contains(u'i'),
                 letters.contains(u'u'), letters.contains(u's')};
}

inline StyledLine Line(std::initializer_list<TextRun> runs) {
  return StyledLine{runs};
}

inline void PrintTo(const TextRun& run, std::ostream* out) {
  *out << '"' << run.text.toStdString() << '"';
  if (run.bold || run.italic || run.underline || run.strikeOut) {
    *out << '/' << (run.bold ? "b" : "") << (run.italic ? "i" : "") << (run.underline ? "u" : "")
         << (run.strikeOut ? "s" : "");
  }
}

inline void PrintTo(const StyledLine& line, std::ostream* out) {
  *out << '[';
  for (const TextRun& run : line.runs) {
    *out << ' ';
    PrintTo(run, out);
  }
  *out << " ]";
}

}  // namespace tesmora
