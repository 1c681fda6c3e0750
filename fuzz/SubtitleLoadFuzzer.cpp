// The subtitle load path on arbitrary bytes: line splitting and both readers.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "subtitles/EarlyCues.h"
#include "subtitles/FrameReader.h"
#include "subtitles/SrtReader.h"
#include "subtitles/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tesmora::LineList lines = tesmora::SplitLines(text);
  const tesmora::SubtitleReadResult srt = tesmora::ReadSrt(lines);
  // Every cue keeps its list line: the lists never drift apart.
  if (srt.listTexts.size() != srt.entries.size()) {
    std::abort();
  }
  const tesmora::SubtitleReadResult frames = tesmora::ReadFrames(lines);
  if (frames.entries.size() > frames.listTexts.size()) {
    std::abort();
  }
  // A cue before 0 is kept for a shift to move, and the front ends refuse it
  // by its record: some cue starts before 0 exactly when a record says so.
  for (const tesmora::SubtitleReadResult* read : {&srt, &frames}) {
    bool early = false;
    for (const tesmora::SubtitleEntry& entry : read->entries) {
      early = early || entry.startMs < 0;
    }
    if (early == tesmora::StillEarlyCueMessage(read->entries, read->earlyCues).empty()) {
      std::abort();
    }
  }
  return 0;
}
