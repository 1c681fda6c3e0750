#include "conversion/AssFileRun.h"

#include <QString>
#include <algorithm>
#include <stdexcept>

#include "core/SubtitleError.h"
#include "hdrender/AssRenderer.h"
#include "subtitles/Charsets.h"
#include "subtitles/DecodingNotes.h"
#include "subtitles/FileText.h"
#include "subtitles/SubtitleFile.h"
#include "timing/TimeChange.h"

namespace tesmora {
namespace {

// The latest time a stream's 32-bit 90 kHz clock reaches, in ms.
constexpr long long kLatestStreamMs = 0xFFFF'FFFFLL / 90;

// The event times of the script once the choices change them, in the
// script's order. Throws SubtitleError naming the event (counted from 1 in
// the script's order) whose time cannot be made.
std::vector<CueTime> ChangedTimes(const AssRenderer& renderer, const TimeChoices& choices) {
  std::vector<SubtitleEntry> events;
  events.reserve(static_cast<std::size_t>(renderer.eventCount()));
  for (int i = 0; i < renderer.eventCount(); ++i) {
    const CueTime time = renderer.eventTime(i);
    events.emplace_back(time.startMs, time.endMs - time.startMs);
  }
  events = ChangeCueTimes(std::move(events), choices.rate, choices.shiftMs);
  std::vector<CueTime> times;
  times.reserve(events.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    const SubtitleEntry& event = events[i];
    const int number = static_cast<int>(i + 1);
    if (event.startMs < 0) {
      throw SubtitleError(number, event.startMs, "it starts before 0");
    }
    if (event.startMs + event.durationMs > kLatestStreamMs) {
      throw SubtitleError(number, event.startMs,
                          "it ends after " + FormatSubtitleTime(kLatestStreamMs) +
                              ", the latest time a Blu-ray stream can give");
    }
    times.push_back({event.startMs, event.startMs + event.durationMs});
  }
  return times;
}

std::string StyleList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + ("\"" + names[i] + "\"");
  }
  return list;
}

std::string UnknownStyleReason(const std::string& style, const std::vector<std::string>& styles) {
  return "the file has no style called \"" + style + "\"; its styles are " + StyleList(styles);
}

}  // namespace

bool IsAssScriptPath(const std::string& path) {
  const QString name = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  return name.endsWith(QStringLiteral(".ass"), Qt::CaseInsensitive) ||
         name.endsWith(QStringLiteral(".ssa"), Qt::CaseInsensitive);
}

AssFilm LoadAssFilm(const std::string& path, const std::string& encoding, int charset) {
  // A symbol font's charset keeps 8-bit bytes as they are for the DVD's own
  // drawing; libass reads text, so such a file is read in the default code
  // page instead.
  const FileText text =
      DecodeSubtitleFile(ReadSubtitleFileBytes(path), encoding,
                         charset == charset::kSymbol ? charset::kDefault : charset);
  return {text.text, EncodingUsedNote(text), InvalidSequencesNote(text)};
}

std::vector<std::string> ScriptStyleNames(const AssFilm& film) {
  // The styles do not depend on the frame: any one reads them.
  return AssRenderer(film.script, HdTarget{}).styleNames();
}

UnknownForcedStyle::UnknownForcedStyle(const std::string& style,
                                       const std::vector<std::string>& styles)
    : std::runtime_error("--forced-style: " + UnknownStyleReason(style, styles)),
      reason_(UnknownStyleReason(style, styles)) {}

std::vector<CueTime> AssRunTimes(const AssFilm& film, const AssRunChoices& choices,
                                 const HdTarget& target) {
  AssRenderer renderer(film.script, target);
  if (renderer.eventCount() == 0) {
    throw std::runtime_error("the file holds no Dialogue event; nothing was written");
  }
  if (!choices.forcedStyle.empty()) {
    const std::vector<std::string> styles = renderer.styleNames();
    if (std::find(styles.begin(), styles.end(), choices.forcedStyle) == styles.end()) {
      throw UnknownForcedStyle(choices.forcedStyle, styles);
    }
  }
  return ChangedTimes(renderer, choices.times);
}

std::vector<std::string> WriteAssPictures(const BluRayFiles& files, const AssFilm& film,
                                          const std::vector<CueTime>& times,
                                          const std::string& forcedStyle, const PgsLook& look,
                                          const RunControl& control) {
  const PgsDrawing drawing{film.script,       times,       look.video.target, AssShaping::Complex,
                           look.video.format, look.forced, forcedStyle};
  return WritePgsPictures(files, look, drawing, false, control);
}

std::vector<std::string> WriteAssPgsFile(const BluRayFiles& files, const AssFilm& film,
                                         const AssRunChoices& choices, const PgsLook& look,
                                         const RunControl& control) {
  const std::vector<CueTime> times = AssRunTimes(film, choices, look.video.target);
  return WriteAssPictures(files, film, times, choices.forcedStyle, look, control);
}

}  // namespace tesmora
