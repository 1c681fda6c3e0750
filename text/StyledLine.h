#pragma once

#include <QString>
#include <vector>

namespace tesmora {

// A piece of a subtitle line drawn in one style. The flags are those the
// subtitle's own markup asks for; the caller adds the style chosen for the
// whole stream.
struct TextRun {
  QString text;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  bool sameStyleAs(const TextRun& other) const {
    return bold == other.bold && italic == other.italic && underline == other.underline &&
           strikeOut == other.strikeOut;
  }

  friend bool operator==(const TextRun&, const TextRun&) = default;
};

// One line of a subtitle as runs from left to right. Every line holds at
// least one run; only a line without text holds an empty one.
struct StyledLine {
  std::vector<TextRun> runs;

  QString plainText() const;

  friend bool operator==(const StyledLine&, const StyledLine&) = default;
};

// Appends `run` to the line, merged into the last run when both have the
// same style. Empty runs add nothing.
void AppendRun(StyledLine& line, const TextRun& run);

// The characters [from, to) of the line's plain text, with their styles.
StyledLine SliceLine(const StyledLine& line, qsizetype from, qsizetype to);

}  // namespace tesmora
