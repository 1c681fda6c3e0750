#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace tesmora {

// The text lines of one cue, top to bottom, as the undecoded bytes of the
// file. They are kept in one string, each line followed by a line feed,
// which no line of a subtitle file holds (the readers split the file at
// every line break), so that each cue of a long film takes one allocation
// rather than one per line and one for the list.
class CueLines {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(std::string_view rest) : rest_(rest) {}
    std::string_view operator*() const { return rest_.substr(0, rest_.find('\n')); }
    Iterator& operator++() {
      rest_.remove_prefix(rest_.find('\n') + 1);
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    friend bool operator==(const Iterator& a, const Iterator& b) {
      return a.rest_.data() + a.rest_.size() == b.rest_.data() + b.rest_.size() &&
             a.rest_.size() == b.rest_.size();
    }

   private:
    std::string_view rest_;
  };

  CueLines() = default;
  CueLines(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) {
      push_back(line);
    }
  }
  CueLines(const std::vector<std::string>& lines) {  // NOLINT: taken where a list of lines is
    for (const std::string& line : lines) {
      push_back(line);
    }
  }

  std::size_t size() const {
    return static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n'));
  }
  bool empty() const { return text_.empty(); }
  // Line i, or an empty line past the last.
  std::string_view lineOrEmpty(std::size_t i) const {
    Iterator line = begin();
    for (; i > 0 && line != end(); --i) {
      ++line;
    }
    return line == end() ? std::string_view() : *line;
  }
  std::string_view operator[](std::size_t i) const { return lineOrEmpty(i); }

  // Adds a line below the others; it must hold no line feed.
  void push_back(std::string_view line) {
    text_.reserve(text_.size() + line.size() + 1);
    text_.append(line);
    text_.push_back('\n');
  }
  void emplace_back(std::string_view line) { push_back(line); }

  Iterator begin() const { return Iterator(text_); }
  Iterator end() const { return Iterator(std::string_view(text_).substr(text_.size())); }

  std::vector<std::string> toVector() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (const std::string_view line : *this) {
      lines.emplace_back(line);
    }
    return lines;
  }
  operator std::vector<std::string>() const { return toVector(); }  // NOLINT

  friend bool operator==(const CueLines&, const CueLines&) = default;
  friend bool operator==(const CueLines& lines, const std::vector<std::string>& list) {
    return lines == CueLines(list);
  }

 private:
  std::string text_;
};

}  // namespace tesmora
