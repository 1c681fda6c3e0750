#include "subtitles/LineList.h"

#include <limits>
#include <stdexcept>

namespace tesmora {
namespace {

// The length of the line break at `at`: CR CR LF (written by tools that
// convert line ends twice) and CR LF count as one break, a lone CR or LF too.
std::size_t BreakLength(std::string_view text, std::size_t at) {
  if (text[at] == '\n') {
    return 1;
  }
  if (text.substr(at, 3) == "\r\r\n") {
    return 3;
  }
  return text.substr(at, 2) == "\r\n" ? 2 : 1;
}

// Calls `found` with the offset where each line of `text` ends.
template <typename Found>
void ForEachLineEnd(std::string_view text, Found&& found) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      continue;
    }
    found(i);
    i += BreakLength(text, i) - 1;
    start = i + 1;
  }
  if (start < text.size()) {
    found(text.size());
  }
}

}  // namespace

LineList::LineList(std::string_view text) : text_(text) {
  if (text.size() >= std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("text too long to split into lines");
  }
  // Counted first, so that the list takes its final size at once.
  std::size_t count = 0;
  ForEachLineEnd(text, [&count](std::size_t) { ++count; });
  ends_.reserve(count);
  ForEachLineEnd(text,
                 [this](std::size_t end) { ends_.push_back(static_cast<std::uint32_t>(end)); });
}

std::string_view LineList::operator[](std::size_t i) const {
  std::size_t start = 0;
  if (i > 0) {
    const std::size_t previous = ends_[i - 1];
    start = previous + BreakLength(text_, previous);
  }
  return text_.substr(start, ends_[i] - start);
}

}  // namespace tesmora
