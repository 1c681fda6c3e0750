#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "subtitles/LineList.h"

namespace tesmora {

// Splits 8-bit text into lines: CR CR LF, CR LF, a lone CR and a lone LF each end a
// line, and a break at the very end adds no empty line. A UTF-8 byte-order
// mark at the start is skipped. The lines are views into `text`.
LineList SplitLines(std::string_view text);

// A decimal integer as the classic runtime reads it: optional leading
// blanks, an optional sign, digits (or "$" and hex digits), within 32 bits.
// Throws IntegerError "'<text>' is not a valid integer value" otherwise.
int ParseInteger(std::string_view text);

class IntegerError : public std::runtime_error {
 public:
  explicit IntegerError(std::string_view text);
};

// The upper-cased extension of a path, dot included ("movie.Srt" gives
// ".SRT"), or empty.
std::string UpperExtension(std::string_view path);

// A whole number of milliseconds rounded from `value`, halves to even.
long long RoundToEven(long double value);

}  // namespace tesmora
