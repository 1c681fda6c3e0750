#pragma once

#include <stdexcept>
#include <string>

namespace tesmora {

// A subtitle that cannot be converted. The text names the subtitle
// by its number in the list and its start time, so the user can find it.
class SubtitleError : public std::runtime_error {
 public:
  SubtitleError(int number, long long startMs, const std::string& reason);
};

// "hh:mm:ss,mmm", as subtitle files write times.
std::string FormatSubtitleTime(long long ms);

}  // namespace tesmora
