#include "subtitles/FrameReader.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "subtitles/CueLines.h"
#include "subtitles/EarlyCues.h"
#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

// The frame fields and the text of a cue line.
struct FrameLineParts {
  std::string_view startField;
  std::string_view endField;
  std::string_view text;
  bool bothGroupsClosed = false;
};

// Splits "{start}{end}text" at its first two brace groups. A field whose
// group is missing or unclosed is what remains of the line, or empty, so
// that reading it as a number fails with the text the user sees.
FrameLineParts SplitFrameLine(std::string_view line) {
  FrameLineParts parts;
  std::string_view rest = line.substr(1);  // after the opening brace
  int closed = 0;
  const auto field = [&rest, &closed]() {
    const std::size_t close = rest.find('}');
    const std::string_view value = rest.substr(0, close);
    if (close == std::string_view::npos) {
      rest = {};
    } else {
      rest.remove_prefix(close + 1);
      ++closed;
    }
    return value;
  };
  parts.startField = field();
  if (!rest.empty() && rest.front() == '{') {
    rest.remove_prefix(1);
    parts.endField = field();
  }
  parts.bothGroupsClosed = closed == 2;
  parts.text = rest;
  return parts;
}

CueLines SplitAtBars(std::string_view text) {
  CueLinesBuilder lines;
  std::size_t start = 0;
  for (std::size_t bar = text.find('|'); bar != std::string_view::npos;
       bar = text.find('|', start)) {
    lines.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  lines.push_back(text.substr(start));
  return lines.take();
}

std::string NegativeStartMessage(std::string_view line) {
  return "The subtitle line \"" + std::string(line) +
         "\" starts before the beginning of the video; a subpicture cannot start before 0. "
         "Please correct the file and load it again";
}

std::string TimeTooLargeMessage(std::string_view line) {
  return "The subtitle line \"" + std::string(line) +
         "\" lies too far in the video for its time to be written. Please correct the file and "
         "load it again";
}

}  // namespace

bool IsRateLine(std::string_view firstLine, FrameRate rate) {
  if (rate.numerator < kLowestFileFrameRate * rate.denominator ||
      rate.numerator > kHighestFileFrameRate * rate.denominator) {
    return false;
  }
  if (firstLine.empty() || firstLine.front() != '{') {
    return true;
  }
  const FrameLineParts parts = SplitFrameLine(firstLine);
  try {
    const long long start = ParseInteger(parts.startField);
    const long long end = ParseInteger(parts.endField);
    return start == end || (start == 0 && end == 1);
  } catch (const IntegerError&) {
    return true;  // frame fields that are no numbers make no cue either
  }
}

std::string_view FrameRateText(std::string_view firstLine) {
  if (!firstLine.empty() && firstLine.front() == '{') {
    const FrameLineParts parts = SplitFrameLine(firstLine);
    if (parts.bothGroupsClosed) {
      return parts.text;
    }
  }
  return firstLine.size() > 6 ? firstLine.substr(6) : std::string_view();
}

SubtitleReadResult ReadFrames(const LineList& lines, const std::optional<ChosenFrameRate>& chosen) {
  SubtitleReadResult result;
  const std::string_view rateText = FrameRateText(lines.lineOrEmpty(0));
  std::optional<FrameRate> ownRate = ParseFrameRate(rateText);
  if (ownRate && !IsRateLine(lines.lineOrEmpty(0), *ownRate)) {
    ownRate.reset();
  }
  if (!ownRate && !chosen) {
    result.frameRateMissing = true;
    result.error = kFrameRateMissingMessage;
    return result;
  }
  if (ownRate && chosen && !(*ownRate == chosen->rate)) {
    result.notes.push_back("The frame rate " + chosen->text + " replaces the file's own rate " +
                           std::string(rateText) + ".");
  }
  const FrameRate rate = chosen ? chosen->rate : *ownRate;
  // The first line is a cue only in a file that names no rate.
  const std::size_t firstCueLine = ownRate ? 1 : 0;
  const auto isCueLine = [](std::string_view line) { return !line.empty() && line[0] == '{'; };
  // Counted first, so that the lists take their final size at once.
  const auto cueLines = static_cast<std::size_t>(std::count_if(
      std::next(lines.begin(), static_cast<std::ptrdiff_t>(std::min(firstCueLine, lines.size()))),
      lines.end(), isCueLine));
  result.listTexts.reserve(cueLines);
  result.entries.reserve(cueLines);
  for (std::size_t i = firstCueLine; i < lines.size(); ++i) {
    if (isCueLine(lines[i])) {
      result.listTexts.emplace_back(lines[i]);
    }
  }
  for (const std::string& line : result.listTexts) {
    const FrameLineParts parts = SplitFrameLine(line);
    try {
      const long long startFrame = ParseInteger(parts.startField);
      const long long endFrame = ParseInteger(parts.endField);
      // The duration is the time of the frame count, so that rounding the
      // two ends apart does not make it one ms off.
      const std::optional<long long> startMs = FramesToMs(startFrame, rate);
      const std::optional<long long> durationMs = FramesToMs(endFrame - startFrame, rate);
      if (!startMs || !durationMs) {
        result.error = TimeTooLargeMessage(line);
        return result;
      }
      if (IsNewEarliestCue(result, *startMs)) {
        // Kept for now: a shift may still move it to 0 or later.
        result.earlyCues.push_back({result.entries.size(), *startMs, NegativeStartMessage(line)});
      }
      result.entries.push_back(SubtitleEntry{*startMs, *durationMs, SplitAtBars(parts.text)});
    } catch (const IntegerError& error) {
      result.error = error.what();
      return result;
    }
  }
  return result;
}

}  // namespace tesmora
