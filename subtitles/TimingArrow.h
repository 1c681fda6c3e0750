#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace tesmora {

// What stands between a cue's start and end times.
inline constexpr std::string_view kTimingArrow = "-->";

// The times of a timing line, and what follows the end time after its
// blanks: empty, or the cue's settings where a format has them.
struct ArrowTimes {
  long long startMs = 0;
  long long endMs = 0;
  std::string_view rest;
};

// Reads a timing line "START --> END", blanks (spaces and tabs) allowed
// before each part, and a blank or nothing right after END. `readTime` reads
// one time at the start of its text, giving its milliseconds and the
// characters read, or nothing: each format writes its times its own way.
template <typename ReadTime>
std::optional<ArrowTimes> ReadArrowTimes(std::string_view line, ReadTime readTime) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  const auto skipBlanks = [&isBlank](std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
      text.remove_prefix(1);
    }
    return text;
  };
  std::string_view rest = skipBlanks(line);
  const std::optional<std::pair<long long, std::size_t>> start = readTime(rest);
  if (!start) {
    return std::nullopt;
  }
  rest = skipBlanks(rest.substr(start->second));
  if (rest.substr(0, kTimingArrow.size()) != kTimingArrow) {
    return std::nullopt;
  }
  rest = skipBlanks(rest.substr(kTimingArrow.size()));
  const std::optional<std::pair<long long, std::size_t>> end = readTime(rest);
  if (!end) {
    return std::nullopt;
  }
  rest = rest.substr(end->second);
  if (!rest.empty() && !isBlank(rest.front())) {
    return std::nullopt;
  }
  return ArrowTimes{start->first, end->first, skipBlanks(rest)};
}

}  // namespace tesmora
