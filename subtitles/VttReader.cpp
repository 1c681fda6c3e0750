#include "subtitles/VttReader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "subtitles/TimingArrow.h"

namespace tesmora {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

// Whether `line` is `word` alone or followed by a blank and more text.
bool StartsWithWord(std::string_view line, std::string_view word) {
  return line.substr(0, word.size()) == word &&
         (line.size() == word.size() || IsBlank(line[word.size()]));
}

// The run of digits at the start of `text`.
std::string_view Digits(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) {
    ++n;
  }
  return text.substr(0, n);
}

long long Number(std::string_view digits) {
  long long value = 0;
  for (const char c : digits) {
    value = value * 10 + (c - '0');
  }
  return value;
}

// Reads a time at the start of `text`; the milliseconds and the characters
// read. Hours take at most 9 digits, so that no time overflows.
std::optional<std::pair<long long, std::size_t>> ReadTimeAtStart(std::string_view text) {
  // Two or three groups of digits separated by ":", then "." and three digits.
  std::string_view groups[3];
  std::size_t count = 0;
  std::size_t i = 0;
  while (true) {
    const std::string_view digits = Digits(text.substr(i));
    if (digits.empty() || digits.size() > 9 || count == 3) {
      return std::nullopt;
    }
    groups[count++] = digits;
    i += digits.size();
    if (i < text.size() && text[i] == ':') {
      ++i;
      continue;
    }
    break;
  }
  if (count < 2 || i >= text.size() || text[i] != '.') {
    return std::nullopt;
  }
  // Minutes and seconds take two digits each, below 60; hours any number.
  const std::string_view minutes = groups[count - 2];
  const std::string_view seconds = groups[count - 1];
  if (minutes.size() != 2 || seconds.size() != 2 || Number(minutes) > 59 || Number(seconds) > 59) {
    return std::nullopt;
  }
  const std::string_view fraction = Digits(text.substr(i + 1));
  if (fraction.size() != 3) {
    return std::nullopt;
  }
  const long long hours = count == 3 ? Number(groups[0]) : 0;
  const long long ms =
      ((hours * 60 + Number(minutes)) * 60 + Number(seconds)) * 1000 + Number(fraction);
  return std::pair{ms, i + 4};
}

// A cue's timing line: its times, then its settings.
std::optional<ArrowTimes> ReadTiming(std::string_view line) {
  return ReadArrowTimes(line, ReadTimeAtStart);
}

// A percentage from 0 to 100, such as "10%" or "12.5%", as a fraction.
std::optional<double> ReadPercentage(std::string_view text) {
  if (text.size() < 2 || text.back() != '%') {
    return std::nullopt;
  }
  text.remove_suffix(1);
  const std::string_view whole = Digits(text);
  if (whole.empty() || whole.size() > 3) {
    return std::nullopt;
  }
  std::string_view rest = text.substr(whole.size());
  double value = static_cast<double>(Number(whole));
  if (!rest.empty()) {
    const std::string_view fraction = rest.front() == '.' ? Digits(rest.substr(1)) : "";
    if (fraction.empty() || fraction.size() + 1 != rest.size()) {
      return std::nullopt;
    }
    double scale = 0.1;
    for (const char c : fraction) {
      value += (c - '0') * scale;
      scale /= 10;
    }
  }
  if (value > 100) {
    return std::nullopt;
  }
  return value / 100;
}

// A whole line number, such as "0", "3" or "-1".
std::optional<int> ReadLineNumber(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = Digits(text.substr(negative ? 1 : 0));
  if (digits.empty() || digits.size() > 4 || digits.size() + (negative ? 1 : 0) != text.size()) {
    return std::nullopt;
  }
  const int value = static_cast<int>(Number(digits));
  return negative ? -value : value;
}

// The value before the first comma, and what follows it (empty without one).
std::pair<std::string_view, std::string_view> SplitComma(std::string_view value) {
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos) {
    return {value, {}};
  }
  return {value.substr(0, comma), value.substr(comma + 1)};
}

enum class Edge { Left, Center, Right };

// What the settings of one cue say, before the box is worked out.
struct ReadSettings {
  std::optional<int> lineNumber;
  std::optional<double> linePercent;
  int lineRow = 2;  // 0 top, 1 middle, 2 bottom: the edge a percentage places
  std::optional<double> position;
  std::optional<Edge> positionAlign;
  Edge align = Edge::Center;
  double size = 1.0;
  bool any = false;
};

// Reads one "name:value" setting into `read`; false when it is not understood.
bool ReadSetting(std::string_view name, std::string_view value, ReadSettings& read) {
  if (name == "line") {
    const auto [where, lineAlign] = SplitComma(value);
    int row = 0;
    if (lineAlign == "start" || lineAlign.empty()) {
      row = 0;
    } else if (lineAlign == "center") {
      row = 1;
    } else if (lineAlign == "end") {
      row = 2;
    } else {
      return false;
    }
    if (const std::optional<double> percent = ReadPercentage(where)) {
      read.linePercent = percent;
      read.lineNumber.reset();
      read.lineRow = row;
      return true;
    }
    if (const std::optional<int> number = ReadLineNumber(where); number && lineAlign.empty()) {
      read.lineNumber = number;
      read.linePercent.reset();
      return true;
    }
    return false;
  }
  if (name == "position") {
    const auto [where, positionAlign] = SplitComma(value);
    const std::optional<double> percent = ReadPercentage(where);
    if (!percent) {
      return false;
    }
    if (positionAlign == "line-left") {
      read.positionAlign = Edge::Left;
    } else if (positionAlign == "center") {
      read.positionAlign = Edge::Center;
    } else if (positionAlign == "line-right") {
      read.positionAlign = Edge::Right;
    } else if (!positionAlign.empty()) {
      return false;
    }
    read.position = percent;
    return true;
  }
  if (name == "align") {
    if (value == "start" || value == "left") {
      read.align = Edge::Left;
    } else if (value == "center") {
      read.align = Edge::Center;
    } else if (value == "end" || value == "right") {
      read.align = Edge::Right;
    } else {
      return false;
    }
    return true;
  }
  if (name == "size") {
    const std::optional<double> percent = ReadPercentage(value);
    if (!percent) {
      return false;
    }
    read.size = *percent;
    return true;
  }
  return false;
}

// The placement of a horizontal cue from its read settings, as a browser
// works it out for left-to-right text: start is left, end is right.
CuePlacement PlacementOf(const ReadSettings& read) {
  const double position = read.position.value_or(read.align == Edge::Left    ? 0.0
                                                 : read.align == Edge::Right ? 1.0
                                                                             : 0.5);
  const Edge positionAlign = read.positionAlign.value_or(read.align);
  // The box is no wider than what fits between the position and the frame's
  // edges on the sides it grows to.
  double maximum = 1.0;
  switch (positionAlign) {
    case Edge::Left:
      maximum = 1.0 - position;
      break;
    case Edge::Right:
      maximum = position;
      break;
    case Edge::Center:
      maximum = 2 * std::min(position, 1.0 - position);
      break;
  }
  const double size = std::min(read.size, maximum);
  const double boxLeft = positionAlign == Edge::Left    ? position
                         : positionAlign == Edge::Right ? position - size
                                                        : position - size / 2;
  CuePlacement placement;
  const int column = read.align == Edge::Left ? 1 : read.align == Edge::Center ? 2 : 3;
  placement.x = read.align == Edge::Left     ? boxLeft
                : read.align == Edge::Center ? boxLeft + size / 2
                                             : boxLeft + size;
  placement.width = size;
  int row = 2;  // bottom
  if (read.linePercent) {
    placement.y = read.linePercent;
    row = read.lineRow;
  } else if (read.lineNumber) {
    placement.lineNumber = read.lineNumber;
    row = *read.lineNumber >= 0 ? 0 : 2;
  }
  // Keypad: 7 8 9 top, 4 5 6 middle, 1 2 3 bottom.
  placement.alignment = (2 - row) * 3 + column;
  return placement;
}

}  // namespace

std::optional<long long> ReadVttTime(std::string_view text) {
  const auto time = ReadTimeAtStart(text);
  if (!time || time->second != text.size()) {
    return std::nullopt;
  }
  return time->first;
}

VttSettings ReadVttSettings(std::string_view settings) {
  VttSettings result;
  ReadSettings read;
  while (true) {
    settings = SkipBlanks(settings);
    if (settings.empty()) {
      break;
    }
    std::size_t end = 0;
    while (end < settings.size() && !IsBlank(settings[end])) {
      ++end;
    }
    const std::string_view setting = settings.substr(0, end);
    settings.remove_prefix(end);
    const std::size_t colon = setting.find(':');
    const std::string_view name = setting.substr(0, colon);
    const std::string_view value =
        colon == std::string_view::npos ? std::string_view() : setting.substr(colon + 1);
    if (colon != std::string_view::npos && name == "vertical" && (value == "rl" || value == "lr")) {
      result.vertical = true;
      result.ignored.emplace_back(setting);
    } else if (colon == std::string_view::npos || value.empty() ||
               !ReadSetting(name, value, read)) {
      result.ignored.emplace_back(setting);
    } else {
      read.any = true;
    }
  }
  if (read.any) {
    result.placement = PlacementOf(read);
  }
  return result;
}

namespace {

// Takes the timestamps out of a cue's text line ("<00:01.500>"), counting them.
std::string WithoutTimestamps(std::string_view line, int& removed) {
  std::string text;
  std::size_t from = 0;
  for (std::size_t at = line.find('<'); at != std::string_view::npos; at = line.find('<', at + 1)) {
    const std::size_t close = line.find('>', at);
    if (close == std::string_view::npos) {
      break;
    }
    if (!ReadVttTime(line.substr(at + 1, close - at - 1))) {
      continue;
    }
    text.append(line.substr(from, at - from));
    from = close + 1;
    at = close;
    ++removed;
  }
  text.append(line.substr(from));
  return text;
}

// A count and the line of the first of what it counts, for the notes.
struct Tally {
  int count = 0;
  int firstLine = 0;
  std::string first;

  void add(int lineNumber, std::string_view what = {}) {
    if (count++ == 0) {
      firstLine = lineNumber;
      first = std::string(what);
    }
  }
};

std::string Plural(int count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The singular and the plural of a phrase.
struct Forms {
  std::string_view one;
  std::string_view many;
};

// A note on what `tally` counted, its subject and verb agreeing with the count:
// "<count> <subject><middle><verb><rest><first line>."
std::string TallyNote(const Tally& tally, Forms subject, std::string_view middle, Forms verb,
                      std::string_view rest) {
  return Plural(tally.count, subject.one, subject.many) + std::string(middle) +
         std::string(tally.count == 1 ? verb.one : verb.many) + std::string(rest) +
         std::to_string(tally.firstLine) + ".";
}

std::string SkippedBlocksNote(int notes, int styles, int regions) {
  std::vector<std::string> parts;
  if (notes > 0) {
    parts.push_back(std::to_string(notes) + " NOTE");
  }
  if (styles > 0) {
    parts.push_back(std::to_string(styles) + " STYLE");
  }
  if (regions > 0) {
    parts.push_back(std::to_string(regions) + " REGION");
  }
  std::string list;
  for (std::size_t n = 0; n < parts.size(); ++n) {
    list += (n == 0 ? "" : n + 1 == parts.size() ? " and " : ", ") + parts[n];
  }
  const bool one = notes + styles + regions == 1;
  return "Skipped " + list + (one ? " block" : " blocks") +
         " of the WebVTT file: comments, styles and regions are not drawn.";
}

}  // namespace

SubtitleReadResult ReadVtt(const LineList& lines, ListTexts listTexts) {
  SubtitleReadResult result;
  std::string_view header = lines.size() > 0 ? lines[0] : std::string_view();
  if (header.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    header.remove_prefix(kByteOrderMark.size());
  }
  if (!StartsWithWord(header, "WEBVTT")) {
    result.error =
        "Line 1 does not start with WEBVTT, so the file is no WebVTT file. Please check the "
        "file and load it again";
    return result;
  }
  const bool withListTexts = listTexts == ListTexts::Made;
  int notes = 0;
  int styles = 0;
  int regions = 0;
  Tally textless;
  Tally untimed;
  Tally timestamps;
  Tally vertical;
  Tally ignored;
  // The header runs to the first empty line.
  std::size_t i = 1;
  while (i < lines.size() && !lines[i].empty()) {
    ++i;
  }
  while (i < lines.size()) {
    if (lines[i].empty()) {
      ++i;
      continue;
    }
    const std::string_view first = lines[i];
    const bool timingFirst = first.find(kTimingArrow) != std::string_view::npos;
    if (!timingFirst && (StartsWithWord(first, "NOTE") || StartsWithWord(first, "STYLE") ||
                         StartsWithWord(first, "REGION"))) {
      ++(first[0] == 'N' ? notes : first[0] == 'S' ? styles : regions);
      while (i < lines.size() && !lines[i].empty()) {
        ++i;
      }
      continue;
    }
    // An identifier line may stand before the timing line.
    std::size_t timingLine = i;
    if (!timingFirst) {
      if (i + 1 < lines.size() && lines[i + 1].find(kTimingArrow) != std::string_view::npos) {
        timingLine = i + 1;
      } else {
        untimed.add(static_cast<int>(i) + 1);
        while (i < lines.size() && !lines[i].empty()) {
          ++i;
        }
        continue;
      }
    }
    const int lineNumber = static_cast<int>(timingLine) + 1;
    const std::optional<ArrowTimes> timing = ReadTiming(lines[timingLine]);
    // The text runs to an empty line, or to a line with an arrow, which
    // starts the next cue.
    i = timingLine + 1;
    std::vector<std::string> text;
    while (i < lines.size() && !lines[i].empty() &&
           lines[i].find(kTimingArrow) == std::string_view::npos) {
      text.push_back(WithoutTimestamps(lines[i], timestamps.count));
      if (timestamps.count > 0 && timestamps.firstLine == 0) {
        timestamps.firstLine = static_cast<int>(i) + 1;
      }
      ++i;
    }
    if (!timing) {
      if (result.unreadTimingLines++ == 0) {
        result.firstUnreadLineNumber = lineNumber;
        result.firstUnreadLine = std::string(lines[timingLine]);
      }
      continue;
    }
    if (text.empty()) {
      textless.add(lineNumber);
      continue;
    }
    const VttSettings settings = ReadVttSettings(timing->rest);
    if (settings.vertical) {
      vertical.add(lineNumber);
    }
    for (const std::string& setting : settings.ignored) {
      if (setting.substr(0, 9) != "vertical:") {
        ignored.add(lineNumber, setting);
      }
    }
    if (withListTexts) {
      std::string listText;
      for (std::size_t n = 0; n < text.size(); ++n) {
        listText += (n == 0 ? "" : " | ") + text[n];
      }
      result.listTexts.push_back(std::move(listText));
    }
    CueLook look;
    look.placement = settings.placement;
    result.entries.emplace_back(timing->startMs, timing->endMs - timing->startMs, CueLines(text),
                                look);
  }
  if (notes + styles + regions > 0) {
    result.notes.push_back(SkippedBlocksNote(notes, styles, regions));
  }
  constexpr Forms kWasWere{"was", "were"};
  if (untimed.count > 0) {
    result.notes.push_back(TallyNote(untimed, {"block has", "blocks have"}, " no timing line and ",
                                     kWasWere, " left out; the first starts at line "));
  }
  if (textless.count > 0) {
    result.notes.push_back(TallyNote(textless, {"subtitle has", "subtitles have"}, " no text and ",
                                     kWasWere, " left out; the first has its timing at line "));
  }
  if (timestamps.count > 0) {
    result.notes.push_back(TallyNote(timestamps, {"timestamp", "timestamps"},
                                     " inside cues (karaoke) ", kWasWere,
                                     " dropped: each cue shows its whole text from its start. "
                                     "The first is at line "));
  }
  if (vertical.count > 0) {
    result.notes.push_back(TallyNote(vertical, {"cue asks", "cues ask"}, " for vertical text and ",
                                     {"is", "are"},
                                     " drawn horizontally; the first has its timing at line "));
  }
  if (ignored.count > 0) {
    result.notes.push_back(Plural(ignored.count, "cue setting was", "cue settings were") +
                           " not used (unknown, invalid or a region); the first at line " +
                           std::to_string(ignored.firstLine) + ": \"" + ignored.first + "\".");
  }
  return result;
}

}  // namespace tesmora
