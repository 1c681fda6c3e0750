#include "fuzz/WrapCheck.h"

#include <QTextBoundaryFinder>
#include <limits>
#include <vector>

#include "fuzz/FuzzRequire.h"

namespace tesmora::fuzz {
namespace {

struct StyledChar {
  QChar c;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  friend bool operator==(const StyledChar&, const StyledChar&) = default;
};

// The characters of the lines other than spaces, with their styles.
std::vector<StyledChar> NonSpaceChars(const std::vector<StyledLine>& lines) {
  std::vector<StyledChar> chars;
  for (const StyledLine& line : lines) {
    for (const TextRun& run : line.runs) {
      for (const QChar c : run.text) {
        if (c != u' ') {
          chars.push_back({c, run.bold, run.italic, run.underline, run.strikeOut});
        }
      }
    }
  }
  return chars;
}

struct Word {
  qsizetype start = 0;
  qsizetype end = 0;
};

// The words between the line break opportunities, less the spaces that
// end them; spaces before the first are no word.
std::vector<Word> Words(const QString& text) {
  std::vector<Word> words;
  QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
  qsizetype from = 0;
  while (from < text.size()) {
    qsizetype to = breaks.toNextBoundary();
    if (to < 0) {
      to = text.size();
    }
    qsizetype start = from;
    while (start < to && text[start] == u' ') {
      ++start;
    }
    qsizetype end = to;
    while (end > start && text[end - 1] == u' ') {
      --end;
    }
    if (start < end) {
      words.push_back({start, end});
    }
    from = to;
  }
  return words;
}

// The fewest lines by filling each as far as it goes, which is the fewest
// possible when a line grows no narrower with a word more; or the first
// word too wide alone.
struct GreedyFill {
  std::size_t lines = 0;
  QString tooWideWord;
  bool fits = true;
};

GreedyFill FillGreedily(const StyledLine& line, long long limit) {
  const QString text = line.plainText();
  const std::vector<Word> words = Words(text);
  // Words i .. j as a line: the first keeps the spaces before it, the last
  // those after it.
  const auto width = [&](std::size_t i, std::size_t j) {
    const qsizetype from = i == 0 ? 0 : words[i].start;
    const qsizetype to = j + 1 == words.size() ? text.size() : words[j].end;
    return FuzzLineWidth(SliceLine(line, from, to));
  };
  GreedyFill fill;
  for (std::size_t i = 0; i < words.size();) {
    if (width(i, i) >= limit) {
      fill.fits = false;
      fill.tooWideWord = text.sliced(words[i].start, words[i].end - words[i].start);
      return fill;
    }
    std::size_t j = i;
    while (j + 1 < words.size() && width(i, j + 1) < limit) {
      ++j;
    }
    ++fill.lines;
    i = j + 1;
  }
  return fill;
}

}  // namespace

long long FuzzLineWidth(const StyledLine& line) {
  long long width = 0;
  for (const TextRun& run : line.runs) {
    for (const QChar c : run.text) {
      width += 8 + c.unicode() % 5 + (run.bold ? 2 : 0);
    }
  }
  return width;
}

namespace {

// Wrapping bounded to `maxLines` lines gives what unbounded wrapping gives,
// unless that needs more lines: then no lines, and it says so.
void CheckBoundedWrapLine(const StyledLine& line, long long limit, std::size_t maxLines,
                          const WrappedLine& unbounded) {
  const WrappedLine bounded = WrapLine(line, limit, FuzzLineWidth, maxLines);
  if (bounded.tooManyLines) {
    Require(bounded.lines.empty() && bounded.tooWideWord.isEmpty(),
            "a line needing too many lines gives no lines and names no word");
    Require(unbounded.lines.size() > maxLines || unbounded.lines.empty(),
            "only a line needing more lines than allowed is given up for it");
    return;
  }
  Require(bounded.lines == unbounded.lines && bounded.tooWideWord == unbounded.tooWideWord,
          "a line that needs no more lines than allowed wraps as without a bound");
}

}  // namespace

WrappedLine CheckWrapLine(const StyledLine& line, long long limit) {
  WrappedLine wrapped =
      WrapLine(line, limit, FuzzLineWidth, std::numeric_limits<std::size_t>::max());
  CheckBoundedWrapLine(line, limit, 1 + static_cast<std::size_t>(line.plainText().size() % 7),
                       wrapped);
  if (FuzzLineWidth(line) < limit) {
    Require(wrapped.lines.size() == 1 && wrapped.lines.front() == line,
            "a line narrower than the limit comes back as it is");
    return wrapped;
  }
  const GreedyFill fill = FillGreedily(line, limit);
  if (wrapped.lines.empty()) {
    Require(!fill.fits, "a line is given up only for a word too wide alone");
    Require(wrapped.tooWideWord == fill.tooWideWord || Words(line.plainText()).empty(),
            "the first word too wide alone is named");
    return wrapped;
  }
  Require(fill.fits, "a word too wide alone gives no lines");
  Require(wrapped.tooWideWord.isEmpty(), "a wrapped line names no word");
  Require(wrapped.lines.size() == fill.lines, "a wrapped line takes the fewest lines");
  for (const StyledLine& piece : wrapped.lines) {
    Require(FuzzLineWidth(piece) < limit, "every wrapped line is narrower than the limit");
  }
  Require(NonSpaceChars(wrapped.lines) == NonSpaceChars({line}),
          "wrapping keeps every character but spaces, in its style");
  return wrapped;
}

}  // namespace tesmora::fuzz
