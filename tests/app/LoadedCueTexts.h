#pragma once

#include <QByteArrayList>

#include "app/TForm1.h"

namespace tesmora::testing {

// The loaded cues' starts, in ms, as the list orders them.
inline QByteArrayList CueStarts(const TForm1& form) {
  QByteArrayList starts;
  for (const SubtitleEntry& cue : form.LoadedCues) {
    starts << QByteArray::number(cue.startMs);
  }
  return starts;
}

// The loaded cues' durations, in ms.
inline QByteArrayList CueDurations(const TForm1& form) {
  QByteArrayList durations;
  for (const SubtitleEntry& cue : form.LoadedCues) {
    durations << QByteArray::number(cue.durationMs);
  }
  return durations;
}

// Line `line` (from 0) of each loaded cue, empty where a cue has fewer.
inline QByteArrayList CueLines(const TForm1& form, std::size_t line) {
  QByteArrayList texts;
  for (const SubtitleEntry& cue : form.LoadedCues) {
    const std::string_view text = cue.lines.lineOrEmpty(line);
    texts << QByteArray(text.data(), static_cast<qsizetype>(text.size()));
  }
  return texts;
}

}  // namespace tesmora::testing
