#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

namespace tesmora {

// The lines of a text, as views into it; the text must outlive the list.
// Only where each line ends is kept, four bytes a line, so that even a text
// of nothing but line breaks takes no more than four times its size again.
class LineList {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const LineList* list, std::size_t index) : list_(list), index_(index) {}
    std::string_view operator*() const { return (*list_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++index_;
      return before;
    }
    friend bool operator==(const Iterator&, const Iterator&) = default;

   private:
    const LineList* list_ = nullptr;
    std::size_t index_ = 0;
  };

  LineList() = default;

  // Splits `text`: CR CR LF, CR LF, a lone CR and a lone LF each end a line, and a
  // break at the very end adds no empty line. Throws std::length_error for a
  // text of 4 GiB or more.
  explicit LineList(std::string_view text);

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t i) const;
  // Line i, or an empty line past the last.
  std::string_view lineOrEmpty(std::size_t i) const { return i < size() ? (*this)[i] : ""; }

  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, size()}; }

 private:
  std::string_view text_;
  std::vector<std::uint32_t> ends_;  // offset of each line's break, or of the text's end
};

}  // namespace tesmora
