#include "subtitles/SrtReader.h"

#include <algorithm>
#include <cctype>

#include "subtitles/CueLines.h"
#include "subtitles/EarlyCues.h"
#include "subtitles/TextLines.h"
#include "subtitles/TimingArrow.h"

namespace tesmora {
namespace {

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

bool HoldsArrow(std::string_view line) {
  return line.find(kTimingArrow) != std::string_view::npos;
}

// Where the blank line before a cue is missing, its number still starts it:
// a line of nothing but a number directly followed by a line with an arrow
// (read as a timing line or not), or a timing line itself.
bool StartsCue(const LineList& lines, std::size_t i) {
  if (IsCueNumber(lines[i]) && i + 1 < lines.size() && HoldsArrow(lines[i + 1])) {
    return true;
  }
  return ReadTimingLine(lines[i]).has_value();
}

// The first line at or after `i` that is not empty, or the end.
std::size_t AfterEmptyLines(const LineList& lines, std::size_t i) {
  while (i < lines.size() && lines[i].empty()) {
    ++i;
  }
  return i;
}

// Whether empty lines before line `i` end a cue's text: they do before the
// end of the file, the next cue, or a line with an arrow, which may be a
// timing line that is not understood. Before other text they belong to the
// cue, as a line of blanks does.
bool EndsCueText(const LineList& lines, std::size_t i) {
  return i == lines.size() || HoldsArrow(lines[i]) || StartsCue(lines, i);
}

std::string TextlessCuesNote(int count, int firstLine) {
  if (count == 1) {
    return "The subtitle whose timing is at line " + std::to_string(firstLine) +
           " has no text and was left out.";
  }
  return std::to_string(count) +
         " subtitles have no text and were left out; the first has its timing at line " +
         std::to_string(firstLine) + ".";
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
  const bool negative = i < text.size() && text[i] == '-';
  i += negative ? 1 : 0;
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
  // "5" is five tenths, "05" five hundredths, "005" five thousandths.
  long long milliseconds = number(fraction);
  for (std::size_t d = fraction.size(); d < 3; ++d) {
    milliseconds *= 10;
  }
  const long long ms =
      ((number(hours) * 60 + number(minutes)) * 60 + number(seconds)) * 1000 + milliseconds;
  return std::pair{negative ? -ms : ms, i};
}

}  // namespace

long long SrtTimeToMs(std::string_view field) {
  const long long hours = ParseInteger(field.substr(0, 2));
  const long long minutes = ParseInteger(field.substr(3, 2));
  const long long seconds = ParseInteger(field.substr(6, 2));
  const long long milliseconds = ParseInteger(field.substr(9, 3));
  return (hours * 3600 + minutes * 60 + seconds) * 1000 + milliseconds;
}

std::optional<LooseTiming> ReadLooseTiming(std::string_view line) {
  const std::optional<ArrowTimes> times = ReadArrowTimes(line, ReadLooseTime);
  if (!times) {
    return std::nullopt;
  }
  return LooseTiming{times->startMs, times->endMs};
}

std::optional<LooseTiming> ReadTimingLine(std::string_view line) {
  // The fixed layout "HH:MM:SS,mmm --> HH:MM:SS,mmm" (29 characters, or 58
  // for a line holding two) is read by its fields, whatever its separators.
  // A negative time is left to the loose reading, as the field reading would
  // take "-0" hours for 0 and the time for a positive one.
  const bool fixedLayout =
      (line.size() == 29 || line.size() == 58) && line.compare(13, 3, kTimingArrow) == 0;
  if (fixedLayout && line[0] != '-' && line[17] != '-') {
    try {
      return LooseTiming{SrtTimeToMs(line.substr(0, 12)), SrtTimeToMs(line.substr(17, 12))};
    } catch (const IntegerError&) {
      // Text that happens to have the layout's length; read loosely below.
    }
  }
  return ReadLooseTiming(line);
}

SubtitleReadResult ReadSrt(const LineList& lines, ListTexts listTexts) {
  SubtitleReadResult result;
  // Room for every cue at once: a long film's list is not moved while it
  // grows, which would hold it twice for a moment.
  std::size_t arrows = 0;
  for (const std::string_view line : lines) {
    arrows += HoldsArrow(line) ? 1 : 0;
  }
  // A cue takes a timing line and a text line at least.
  arrows = std::min(arrows, lines.size() / 2 + 1);
  result.entries.reserve(arrows);
  const bool withListTexts = listTexts == ListTexts::Made;
  if (withListTexts) {
    result.listTexts.reserve(arrows);
  }
  int textlessCues = 0;
  int firstTextlessLine = 0;
  std::size_t i = 0;
  while (i < lines.size()) {
    const std::string_view line = lines[i];
    const int lineNumber = static_cast<int>(i) + 1;
    const std::optional<LooseTiming> timing = ReadTimingLine(line);
    if (!timing) {
      if (HoldsArrow(line) && StandsWhereTimingIsExpected(lines, i) &&
          result.unreadTimingLines++ == 0) {
        result.firstUnreadLineNumber = lineNumber;
        result.firstUnreadLine = std::string(line);
      }
      ++i;
      continue;
    }
    // The cue's text runs to the next cue, or to the empty lines before the
    // next cue or the end of the file.
    CueLinesBuilder cueLines;
    std::string listText;
    const auto addLine = [&](std::string_view text) {
      if (withListTexts) {
        listText += (cueLines.empty() ? "" : " | ") + std::string(text);
      }
      cueLines.push_back(text);
    };
    for (++i; i < lines.size() && !StartsCue(lines, i);) {
      if (!lines[i].empty()) {
        addLine(lines[i++]);
        continue;
      }
      const std::size_t after = AfterEmptyLines(lines, i);
      if (EndsCueText(lines, after)) {
        break;
      }
      for (; i < after; ++i) {
        addLine(lines[i]);
      }
    }
    if (cueLines.empty()) {
      if (textlessCues++ == 0) {
        firstTextlessLine = lineNumber;
      }
      continue;
    }
    SubtitleEntry entry{timing->startMs, timing->endMs - timing->startMs, cueLines.take()};
    if (IsNewEarliestCue(result, entry.startMs)) {
      // Kept for now: a shift may still move it to 0 or later.
      result.earlyCues.push_back(
          {result.entries.size(), entry.startMs, NegativeStartMessage(lineNumber, line)});
    }
    if (withListTexts) {
      result.listTexts.push_back(std::move(listText));
    }
    result.entries.push_back(std::move(entry));
  }
  if (textlessCues > 0) {
    result.notes.push_back(TextlessCuesNote(textlessCues, firstTextlessLine));
  }
  return result;
}

}  // namespace tesmora
