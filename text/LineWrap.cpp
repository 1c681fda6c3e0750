#include "text/LineWrap.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "text/LineWords.h"

namespace tesmora {
namespace {

using Word = LineWord;

// Words i .. j; the first line keeps the spaces before the first word, the
// last line those after the last word.
StyledLine SliceWords(const StyledLine& line, qsizetype textSize, const std::vector<Word>& words,
                      std::size_t i, std::size_t j) {
  const qsizetype from = i == 0 ? 0 : words[i].start;
  const qsizetype to = j + 1 == words.size() ? textSize : words[j].end;
  return SliceLine(line, from, to);
}

// What filling each line with as many words as fit, top to bottom, finds:
// the first word too wide for a line of its own, or that more than
// `maxLines` lines are needed. Filling uses the fewest lines there are,
// since a line grows no narrower when a word is added to it. It finds the
// words as it goes and stops at the first word or line too many, so its
// work does not grow with the rest of a long line.
struct Filling {
  std::optional<Word> tooWideWord;
  bool tooManyLines = false;
};

Filling FillLines(const StyledLine& line, const QString& text, LineWords& lineWords,
                  long long limit, const StyledLineWidth& width, std::size_t maxLines) {
  // Words `first` .. `last`, cut as SliceWords cuts them; `after` is the
  // word after `last`, if any.
  const auto slice = [&](const Word& first, bool top, const Word& last,
                         const std::optional<Word>& after) {
    return SliceLine(line, top ? 0 : first.start, after ? last.end : text.size());
  };
  std::optional<Word> first = lineWords.after(0);
  bool top = true;
  std::size_t lines = 0;
  while (first) {
    if (++lines > maxLines) {
      return {std::nullopt, true};
    }
    Word last = *first;
    std::optional<Word> after = lineWords.after(last.end);
    if (width(slice(*first, top, last, after)) >= limit) {
      return {first, false};
    }
    while (after) {
      const std::optional<Word> beyond = lineWords.after(after->end);
      if (width(slice(*first, top, *after, beyond)) >= limit) {
        break;
      }
      last = *after;
      after = beyond;
    }
    first = after;
    top = false;
  }
  return {};
}

// The lines that may start at each word: widths[i][k] is the width of the
// line holding words i .. i + k, for every such line that fits.
class LineCandidates {
 public:
  LineCandidates(const StyledLine& line, const std::vector<Word>& words, long long limit,
                 const StyledLineWidth& width)
      : line_(line), textSize_(line.plainText().size()), words_(words), widths_(words.size()) {
    for (std::size_t i = 0; i < words.size(); ++i) {
      for (std::size_t j = i; j < words.size(); ++j) {
        const long long w = width(slice(i, j));
        if (w >= limit) {
          break;
        }
        widths_[i].push_back(w);
      }
    }
  }

  StyledLine slice(std::size_t i, std::size_t j) const {
    return SliceWords(line_, textSize_, words_, i, j);
  }

  const std::vector<long long>& fromWord(std::size_t i) const { return widths_[i]; }

 private:
  const StyledLine& line_;
  qsizetype textSize_;
  const std::vector<Word>& words_;
  std::vector<std::vector<long long>> widths_;
};

constexpr long long kNoLayout = std::numeric_limits<long long>::max();

// The fewest lines words i.. can take, for every i.
std::vector<std::size_t> FewestLines(const LineCandidates& candidates, std::size_t wordCount) {
  std::vector<std::size_t> fewest(wordCount + 1, 0);
  for (std::size_t i = wordCount; i-- > 0;) {
    fewest[i] = std::numeric_limits<std::size_t>::max();
    for (std::size_t k = 0; k < candidates.fromWord(i).size(); ++k) {
      fewest[i] = std::min(fewest[i], fewest[i + k + 1] + 1);
    }
  }
  return fewest;
}

// narrowest[m][i]: the narrowest widest line of words i.. in exactly m lines.
long long NarrowestWidest(const LineCandidates& candidates, std::size_t wordCount,
                          std::size_t lineCount) {
  std::vector<long long> previous(wordCount + 1, kNoLayout);
  previous[wordCount] = 0;
  for (std::size_t m = 1; m <= lineCount; ++m) {
    std::vector<long long> current(wordCount + 1, kNoLayout);
    for (std::size_t i = 0; i < wordCount; ++i) {
      const std::vector<long long>& widths = candidates.fromWord(i);
      for (std::size_t k = 0; k < widths.size(); ++k) {
        if (previous[i + k + 1] != kNoLayout) {
          current[i] = std::min(current[i], std::max(widths[k], previous[i + k + 1]));
        }
      }
    }
    previous = std::move(current);
  }
  return previous[0];
}

// The words each line ends with, in `lineCount` lines no wider than
// `widest`, with the smallest sum of squared widths.
std::vector<std::size_t> EvenestBreaks(const LineCandidates& candidates, std::size_t wordCount,
                                       std::size_t lineCount, long long widest) {
  constexpr double kNone = std::numeric_limits<double>::infinity();
  // cost[m][i]: for words i.. in m lines; lastWord[m][i]: the first line's last word.
  std::vector<std::vector<double>> cost(lineCount + 1, std::vector<double>(wordCount + 1, kNone));
  std::vector<std::vector<std::size_t>> lastWord(lineCount + 1,
                                                 std::vector<std::size_t>(wordCount + 1, 0));
  cost[0][wordCount] = 0;
  for (std::size_t m = 1; m <= lineCount; ++m) {
    for (std::size_t i = 0; i < wordCount; ++i) {
      const std::vector<long long>& widths = candidates.fromWord(i);
      for (std::size_t k = 0; k < widths.size() && widths[k] <= widest; ++k) {
        const double rest = cost[m - 1][i + k + 1];
        const double w = static_cast<double>(widths[k]);
        if (rest != kNone && rest + w * w < cost[m][i]) {
          cost[m][i] = rest + w * w;
          lastWord[m][i] = i + k;
        }
      }
    }
  }
  std::vector<std::size_t> breaks;
  std::size_t i = 0;
  for (std::size_t m = lineCount; m > 0; --m) {
    breaks.push_back(lastWord[m][i]);
    i = lastWord[m][i] + 1;
  }
  return breaks;
}

}  // namespace

WrappedLine WrapLine(const StyledLine& line, long long limit, const StyledLineWidth& width,
                     std::size_t maxLines) {
  if (width(line) < limit) {
    return {{line}, {}, false};
  }
  const QString text = line.plainText();
  LineWords lineWords(text);
  if (!lineWords.after(0)) {
    return {{}, text, false};
  }
  const Filling filling = FillLines(line, text, lineWords, limit, width, maxLines);
  if (filling.tooWideWord) {
    const Word& word = *filling.tooWideWord;
    return {{}, text.sliced(word.start, word.end - word.start), false};
  }
  if (filling.tooManyLines) {
    return {{}, {}, true};
  }
  // The line fits in `maxLines` lines, so its words are few.
  const std::vector<Word> words = lineWords.all();
  const LineCandidates candidates(line, words, limit, width);
  const std::size_t lineCount = FewestLines(candidates, words.size())[0];
  const long long widest = NarrowestWidest(candidates, words.size(), lineCount);
  WrappedLine wrapped;
  std::size_t first = 0;
  for (const std::size_t last : EvenestBreaks(candidates, words.size(), lineCount, widest)) {
    wrapped.lines.push_back(candidates.slice(first, last));
    first = last + 1;
  }
  return wrapped;
}

}  // namespace tesmora
