#include "text/LineWords.h"

namespace tesmora {

LineWords::LineWords(const QString& text)
    : text_(text), breaks_(QTextBoundaryFinder::Line, text_) {}

std::optional<LineWord> LineWords::after(qsizetype from) {
  qsizetype start = from;
  while (start < text_.size() && text_[start] == u' ') {
    ++start;
  }
  if (start >= text_.size()) {
    return std::nullopt;
  }
  // Spaces never come right after an opportunity, so a word's own
  // characters up to the next opportunity are never spaces alone.
  breaks_.setPosition(start);
  qsizetype end = breaks_.toNextBoundary();
  if (end < 0 || end > text_.size()) {
    end = text_.size();
  }
  while (end > start && text_[end - 1] == u' ') {
    --end;
  }
  return LineWord{start, end};
}

std::vector<LineWord> LineWords::all() {
  std::vector<LineWord> words;
  for (std::optional<LineWord> word = after(0); word; word = after(word->end)) {
    words.push_back(*word);
  }
  return words;
}

}  // namespace tesmora
