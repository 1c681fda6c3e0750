#include "subtitles/SrtReader.h"

#include <cctype>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

constexpr std::string_view kArrow = "-->";

bool IsStrictTimingLine(std::string_view line) {
  return (line.size() == 29 || line.size() == 58) && line.compare(13, 3, kArrow) == 0;
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

// A cue number: digits, with blanks around them allowed.
bool IsCueNumber(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return false;
  }
  const std::size_t last = line.find_last_not_of(" \t");
  for (std::size_t p = first; p <= last; ++p) {
    if (!std::isdigit(static_cast<unsigned char>(line[p]))) {
      return false;
    }
  }
  return true;
}

// A timing line is expected at the start of the file, after a blank line
// and after a cue number. Elsewhere a line is a cue's text, which may hold
// an arrow of its own ("Look --> there").
bool StandsWhereTimingIsExpected(const LineList& lines, std::size_t i) {
  return i == 0 || IsBlank(lines[i - 1]) || IsCueNumber(lines[i - 1]);
}

std::string NegativeStartMessage(int lineNumber, std::string_view line) {
  return "The subtitle at line " + std::to_string(lineNumber) +
         " starts before the beginning of the video (" + std::string(line) +
         "); a subpicture cannot start before 0. Please correct the file and load it again";
}

// Reads "H...H:MM:SS[,.]f[f[f]]" at the start of `text`; returns the
// milliseconds and the count of characters read.
std::optional<std::pair<long long, std::size_t>> ReadLooseTime(std::string_view text) {
  std::size_t i = 0;
  const auto digits = [&](std::size_t atMost) {
    const std::size_t start = i;
    while (i < text.size() && i - start < atMost &&
           std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
    }
    return text.substr(start, i - start);
  };
  const auto number = [](std::string_view d) {
    long long value = 0;
    for (const char c : d) {
      value = value * 10 + (c - '0');
    }
    return value;
  };
  const std::string_view hours = digits(9);
  if (hours.empty() || i >= text.size() || text[i++] != ':') {
    return std::nullopt;
  }
  const std::string_view minutes = digits(2);
  if (minutes.size() != 2 || i >= text.size() || text[i++] != ':') {
    return std::nullopt;
  }
  const std::string_view seconds = digits(2);
  if (seconds.size() != 2 || i >= text.size() || (text[i] != ',' && text[i] != '.')) {
    return std::nullopt;
  }
  ++i;
  const std::string_view fraction = digits(3);
  if (fraction.empty()) {
    return std::nullopt;
  }
  const long long hundredths =
      (fraction[0] - '0') * 10 + (fraction.size() > 1 ? fraction[1] - '0' : 0);
  const long long ms =
      ((number(hours) * 60 + number(minutes)) * 60 + number(seconds)) * 1000 + hundredths * 10;
  return std::pair{ms, i};
}

}  // namespace

long long SrtTimeToMs(std::string_view field) {
  const long long hours = ParseInteger(field.substr(0, 2));
  const long long minutes = ParseInteger(field.substr(3, 2));
  const long long seconds = ParseInteger(field.substr(6, 2));
  const long long hundredths = ParseInteger(field.substr(9, 2));
  return (hours * 3600 + minutes * 60 + seconds) * 1000 + hundredths * 10;
}

std::optional<LooseTiming> ReadLooseTiming(std::string_view line) {
  const auto skipBlanks = [](std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
      text.remove_prefix(1);
    }
    return text;
  };
  std::string_view rest = skipBlanks(line);
  const auto start = ReadLooseTime(rest);
  if (!start) {
    return std::nullopt;
  }
  rest = skipBlanks(rest.substr(start->second));
  if (rest.substr(0, kArrow.size()) != kArrow) {
    return std::nullopt;
  }
  rest = skipBlanks(rest.substr(kArrow.size()));
  const auto end = ReadLooseTime(rest);
  if (!end) {
    return std::nullopt;
  }
  rest = rest.substr(end->second);
  if (!rest.empty() && rest.front() != ' ' && rest.front() != '\t') {
    return std::nullopt;
  }
  return LooseTiming{start->first, end->first};
}

SubtitleReadResult ReadSrt(const LineList& lines) {
  SubtitleReadResult result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const int lineNumber = static_cast<int>(i) + 1;
    long long startMs;
    long long endMs;
    try {
      if (IsStrictTimingLine(line)) {
        startMs = SrtTimeToMs(line.substr(0, 11));
        endMs = SrtTimeToMs(line.substr(17, 11));
      } else if (line.find(kArrow) != std::string_view::npos) {
        const std::optional<LooseTiming> timing = ReadLooseTiming(line);
        if (!timing) {
          if (StandsWhereTimingIsExpected(lines, i) && result.unreadTimingLines++ == 0) {
            result.firstUnreadLineNumber = lineNumber;
            result.firstUnreadLine = std::string(line);
          }
          continue;
        }
        startMs = timing->startMs;
        endMs = timing->endMs;
      } else {
        continue;
      }
    } catch (const IntegerError& error) {
      result.error = error.what();
      return result;
    }
    if (startMs < 0) {
      result.error = NegativeStartMessage(lineNumber, line);
      return result;
    }
    const std::string text1(lines.lineOrEmpty(i + 1));
    const std::string text2(lines.lineOrEmpty(i + 2));
    if (text1.empty()) {
      continue;  // a cue without text is dropped whole
    }
    SubtitleEntry entry{startMs, endMs - startMs, {text1}};
    if (!text2.empty()) {
      entry.lines.push_back(text2);
    }
    result.listTexts.push_back(text2.empty() ? text1 : text1 + " | " + text2);
    result.entries.push_back(std::move(entry));
  }
  return result;
}

}  // namespace tesmora
