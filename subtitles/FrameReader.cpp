#include "subtitles/FrameReader.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "subtitles/TextLines.h"

namespace tesmora {

std::optional<long double> FrameRateFromText(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, long double>, 8> kRates{{
      {"23.976", 23.976L},
      {"24.000", 24.0L},
      {"24", 24.0L},
      {"25.000", 25.0L},
      {"25", 25.0L},
      {"29.970", 29.97L},
      {"30.000", 30.0L},
      {"30", 30.0L},
  }};
  for (const auto& [name, rate] : kRates) {
    if (text == name) {
      return rate;
    }
  }
  return std::nullopt;
}

SubtitleReadResult ReadFrames(const LineList& lines) {
  SubtitleReadResult result;
  const std::string_view first = lines.lineOrEmpty(0);
  const std::optional<long double> fps =
      FrameRateFromText(first.size() > 6 ? first.substr(6) : std::string_view());
  if (!fps) {
    result.frameRateMissing = true;
    result.error = kFrameRateMissingMessage;
    return result;
  }
  const auto isCueLine = [](std::string_view line) { return !line.empty() && line[0] == '{'; };
  // Counted first, so that the lists take their final size at once.
  const auto cueLines =
      static_cast<std::size_t>(std::count_if(std::next(lines.begin()), lines.end(), isCueLine));
  result.listTexts.reserve(cueLines);
  result.entries.reserve(cueLines);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (isCueLine(lines[i])) {
      result.listTexts.emplace_back(lines[i]);
    }
  }
  for (std::size_t k = 0; k < result.listTexts.size(); ++k) {
    const std::string& s = result.listTexts[k];
    // Positions counted from 1, as the line's format is described.
    std::size_t open = 0;
    std::size_t close = 0;
    std::size_t bar = 0;
    for (std::size_t p = 2; p <= s.size(); ++p) {
      const char c = s[p - 1];
      if (c == '{') {
        open = p;
      } else if (c == '}') {
        close = p;
      } else if (c == '|') {
        bar = p;
      }
    }
    const auto chars = [&s](std::size_t from, std::size_t to) {
      return from > to || from > s.size() ? std::string()
                                          : s.substr(from - 1, std::min(to, s.size()) - from + 1);
    };
    try {
      const long long startFrame = ParseInteger(open >= 2 ? chars(2, open - 2) : std::string());
      const long long endFrame = ParseInteger(chars(open + 1, close == 0 ? 0 : close - 1));
      const long double start = static_cast<long double>(startFrame * 1000) / *fps;
      const long double end = static_cast<long double>(endFrame * 1000) / *fps;
      SubtitleEntry entry;
      entry.startMs = RoundToEven(start);
      entry.durationMs = RoundToEven(end - start);
      if (entry.startMs < 0) {
        result.error = "The subtitle line \"" + s +
                       "\" starts before the beginning of the video; a subpicture cannot start "
                       "before 0. Please correct the file and load it again";
        return result;
      }
      if (bar != 0) {
        entry.lines = {chars(close + 1, bar - 1), chars(bar + 1, s.size())};
      } else {
        entry.lines = {chars(close + 1, s.size())};
      }
      result.entries.push_back(std::move(entry));
    } catch (const IntegerError& error) {
      result.error = error.what();
      return result;
    }
  }
  return result;
}

}  // namespace tesmora
