#pragma once

#include <QString>
#include <QTextBoundaryFinder>
#include <optional>
#include <vector>

namespace tesmora {

// The characters [start, end) of a line's text.
struct LineWord {
  qsizetype start = 0;
  qsizetype end = 0;

  friend bool operator==(const LineWord&, const LineWord&) = default;
};

// The pieces a line may be broken into, as the Unicode line breaking
// algorithm finds its break opportunities: after a run of spaces, but also
// between two ideographs, after a hyphen or a dash. A word runs from one
// opportunity to the next, less the U+0020 spaces that end it, which a
// break drops; spaces before the first word belong to no word. Other
// characters always stay in their word, so a break between two CJK
// characters keeps both. The opportunities are found once for the whole
// text, in time linear in its length; the words are read as they are asked
// for.
class LineWords {
 public:
  explicit LineWords(const QString& text);

  // The first word that starts at or after `from`, which is 0 or the end of
  // a word; none past the last.
  std::optional<LineWord> after(qsizetype from);

  // Every word, in order.
  std::vector<LineWord> all();

 private:
  QString text_;
  QTextBoundaryFinder breaks_;
};

}  // namespace tesmora
