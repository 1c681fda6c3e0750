#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tesmora {

// The text lines of one cue, top to bottom, in UTF-8 once the load has
// read them. They are kept in one block, each line followed by a line feed,
// which no line of a subtitle file holds (the readers split the file at
// every line break), after the block's length: each cue of a long film
// takes one pointer and one allocation rather than a list and a string per
// line.
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
  CueLines(const CueLines& other) { assign(other.text()); }
  CueLines(CueLines&&) noexcept = default;
  CueLines& operator=(const CueLines& other) {
    if (this != &other) {
      assign(other.text());
    }
    return *this;
  }
  CueLines& operator=(CueLines&&) noexcept = default;
  ~CueLines() = default;
  CueLines(std::initializer_list<std::string_view> lines) { assignLines(lines); }
  CueLines(const std::vector<std::string>& lines) {  // NOLINT: taken where a list of lines is
    assignLines(lines);
  }

  std::size_t size() const {
    const std::string_view all = text();
    return static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n'));
  }
  bool empty() const { return data_ == nullptr; }
  // Line i, or an empty line past the last.
  std::string_view lineOrEmpty(std::size_t i) const {
    Iterator line = begin();
    for (; i > 0 && line != end(); --i) {
      ++line;
    }
    return line == end() ? std::string_view() : *line;
  }
  std::string_view operator[](std::size_t i) const { return lineOrEmpty(i); }

  // Adds a line below the others; it must hold no line feed. The block is
  // made again at its new size, so a cue built line by line costs the square
  // of its length: a reader gathers a cue's lines in a CueLinesBuilder.
  void push_back(std::string_view line) {
    std::string all(text());
    all.reserve(all.size() + line.size() + 1);
    all.append(line);
    all.push_back('\n');
    assign(all);
  }
  void emplace_back(std::string_view line) { push_back(line); }

  Iterator begin() const { return Iterator(text()); }
  Iterator end() const {
    const std::string_view all = text();
    return Iterator(all.substr(all.size()));
  }

  std::vector<std::string> toVector() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (const std::string_view line : *this) {
      lines.emplace_back(line);
    }
    return lines;
  }
  operator std::vector<std::string>() const { return toVector(); }  // NOLINT

  friend bool operator==(const CueLines& a, const CueLines& b) { return a.text() == b.text(); }
  friend bool operator==(const CueLines& lines, const std::vector<std::string>& list) {
    return lines == CueLines(list);
  }

 private:
  friend class CueLinesBuilder;

  // Every line with its line feed; empty for no line.
  std::string_view text() const {
    if (!data_) {
      return {};
    }
    std::size_t length = 0;
    std::memcpy(&length, data_.get(), sizeof length);
    return {data_.get() + sizeof length, length};
  }
  void assign(std::string_view all) {
    if (all.empty()) {
      data_.reset();
      return;
    }
    const std::size_t length = all.size();
    data_ = std::make_unique_for_overwrite<char[]>(sizeof length + length);
    std::memcpy(data_.get(), &length, sizeof length);
    std::memcpy(data_.get() + sizeof length, all.data(), length);
  }
  // Makes the block of `lines` at its final size, in one allocation.
  template <typename Lines>
  void assignLines(const Lines& lines) {
    std::size_t length = 0;
    for (const std::string_view line : lines) {
      length += line.size() + 1;
    }
    if (length == 0) {
      data_.reset();
      return;
    }
    data_ = std::make_unique_for_overwrite<char[]>(sizeof length + length);
    std::memcpy(data_.get(), &length, sizeof length);
    char* next = data_.get() + sizeof length;
    for (const std::string_view line : lines) {
      std::memcpy(next, line.data(), line.size());
      next += line.size();
      *next++ = '\n';
    }
  }

  std::unique_ptr<char[]> data_;  // the length, then the lines; null for none
};

// Gathers a cue's lines as a reader finds them, then makes the cue's block
// once, so that a cue costs time in step with its text however many lines it
// has. The gathered text is held only while the cue is read.
class CueLinesBuilder {
 public:
  // Adds a line below the others; it must hold no line feed.
  void push_back(std::string_view line) {
    text_.append(line);
    text_.push_back('\n');
  }
  bool empty() const { return text_.empty(); }
  // The lines added, as a cue holds them; the builder is empty again.
  CueLines take() {
    CueLines lines;
    lines.assign(text_);
    text_.clear();
    return lines;
  }

 private:
  std::string text_;  // every line with its line feed
};

}  // namespace tesmora
