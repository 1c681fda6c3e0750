// The subtitle load path on arbitrary bytes: line splitting and both readers.
#include <cstdint>
#include <cstdlib>
#include <string_view>

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
  for (const tesmora::SubtitleEntry& entry : frames.entries) {
    if (entry.startMs < 0) {
      std::abort();
    }
  }
  return 0;
}
