#include "fuzz/CueTextCheck.h"

#include "fuzz/FuzzRequire.h"

namespace tesmora::fuzz {
namespace {

bool Unstyled(const StyledLine& line) {
  for (const TextRun& run : line.runs) {
    if (run.bold || run.italic || run.underline || run.strikeOut) {
      return false;
    }
  }
  return true;
}

// Whether markup of any dialect could start in the lines.
bool MayHoldMarkup(const QStringList& lines) {
  for (const QString& line : lines) {
    for (const QChar c : line) {
      if (c == u'<' || c == u'{' || c == u'\\' || c == u'/' || c == u'|' || c == u'&') {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

CueText CheckCueMarkup(const QStringList& lines, MarkupDialect dialect) {
  CueText text = ParseCueMarkup(lines, dialect);
  Require(text.alignment >= 0 && text.alignment <= 9, "a placement is 0 or a keypad digit");
  qsizetype inputChars = 0;
  for (const QString& line : lines) {
    inputChars += line.size();
  }
  qsizetype outputChars = 0;
  for (const StyledLine& line : text.lines) {
    Require(!line.runs.empty(), "every line holds a run");
    for (std::size_t r = 0; r < line.runs.size(); ++r) {
      Require(!line.runs[r].text.isEmpty() || line.runs.size() == 1,
              "only an empty line holds an empty run");
      Require(r == 0 || !line.runs[r].sameStyleAs(line.runs[r - 1]),
              "neighbouring runs differ in style");
      outputChars += line.runs[r].text.size();
    }
  }
  Require(outputChars <= inputChars, "markup only takes characters away");
  if (dialect == MarkupDialect::Literal || !MayHoldMarkup(lines)) {
    Require(text.lines.size() == static_cast<std::size_t>(lines.size()),
            "text without markup keeps its lines");
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
      Require(
          text.lines[i].plainText() == lines[static_cast<qsizetype>(i)] && Unstyled(text.lines[i]),
          "text without markup comes out as written");
    }
    Require(text.alignment == 0 && text.removedMarkup.isEmpty(),
            "text without markup places nothing and removes nothing");
  }
  return text;
}

}  // namespace tesmora::fuzz
