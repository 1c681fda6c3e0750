#include "subtitles/TextLines.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace tesmora {

LineList SplitLines(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }
  return LineList(text);
}

IntegerError::IntegerError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value") {}

int ParseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  }
  if (i >= text.size()) {
    throw IntegerError(text);
  }
  long long value = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int digit;
    if (std::isdigit(c)) {
      digit = c - '0';
    } else if (base == 16 && std::isxdigit(c)) {
      digit = std::toupper(c) - 'A' + 10;
    } else {
      throw IntegerError(text);
    }
    value = value * base + digit;
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
      throw IntegerError(text);
    }
  }
  value = negative ? -value : value;
  if (value > std::numeric_limits<int>::max()) {
    throw IntegerError(text);
  }
  return static_cast<int>(value);
}

std::string UpperExtension(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return {};
  }
  std::string extension(path.substr(dot));
  for (char& c : extension) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return extension;
}

long long RoundToEven(long double value) {
  return std::llrintl(value);
}

}  // namespace tesmora
