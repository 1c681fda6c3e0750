#include "core/SubtitleError.h"

#include <cstdio>

namespace tesmora {

std::string FormatSubtitleTime(long long ms) {
  const char* sign = ms < 0 ? "-" : "";
  const unsigned long long total =
      ms < 0 ? 0ULL - static_cast<unsigned long long>(ms) : static_cast<unsigned long long>(ms);
  char text[48];
  std::snprintf(text, sizeof text, "%s%02llu:%02llu:%02llu,%03llu", sign, total / 3600000,
                total / 60000 % 60, total / 1000 % 60, total % 1000);
  return text;
}

SubtitleError::SubtitleError(int number, long long startMs, const std::string& reason)
    : std::runtime_error("Subtitle " + std::to_string(number) + ", starting at " +
                         FormatSubtitleTime(startMs) + ": " + reason) {}

}  // namespace tesmora
