#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "subtitles/CueLines.h"
#include "subtitles/CueLook.h"

namespace tesmora {

// One cue: when it shows, for how long, and its text lines in UTF-8.
struct SubtitleEntry {
  SubtitleEntry() = default;
  SubtitleEntry(long long start, long long duration, CueLines cueLines = {}, CueLook cueLook = {})
      : startMs(start),
        durationMs(duration),
        lines(std::move(cueLines)),
        look(std::move(cueLook)) {}

  long long startMs = 0;
  long long durationMs = 0;
  CueLines lines;
  // Placement and drawing the file asks for; empty for formats without them.
  CueLook look;

  // The first two lines, as the two-line layout places them; empty when the
  // cue has fewer.
  std::string_view line1() const { return lines.lineOrEmpty(0); }
  std::string_view line2() const { return lines.lineOrEmpty(1); }

  friend bool operator==(const SubtitleEntry&, const SubtitleEntry&) = default;
};

// A cue that starts before 0 in the file. It is read like any other, as a
// shift may still move it to 0 or later; `message` refuses it if it does not.
struct EarlyCue {
  std::size_t entry = 0;  // its position in the reader's entries
  long long startMs = 0;  // its start as read
  std::string message;    // without a closing full stop
};

// What a reader made of a file: the cues in file order, the text the
// window's list shows for each list line, and why it stopped early, if it
// did. For frame files the list shows every cue line of the file, also those
// after a cue that stopped the load.
struct SubtitleReadResult {
  std::vector<SubtitleEntry> entries;
  std::vector<std::string> listTexts;
  // The message of a cue that stopped the load (without a closing full stop,
  // which the error box adds); the cues before it stay.
  std::string error;
  // A frame file whose first line gives no accepted frame rate.
  bool frameRateMissing = false;
  // Lines holding "-->" that stand where a timing line is expected (at the
  // start, after a blank line or a cue number) but could not be read as one.
  int unreadTimingLines = 0;
  int firstUnreadLineNumber = 0;  // counted from 1
  std::string firstUnreadLine;
  // What the load changed or dropped of the user's text or times, one
  // sentence each, in UTF-8 and without a closing line break. The window
  // shows them together in one message after the load, the converter prints
  // each on its error stream.
  std::vector<std::string> notes;
  // Cues that start before 0, in file order, each earlier than those before
  // it (see IsNewEarliestCue). The front ends refuse the first still before
  // 0 once the times are shifted and converted.
  std::vector<EarlyCue> earlyCues;
};

}  // namespace tesmora
