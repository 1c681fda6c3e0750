// The ASS and SSA reader on arbitrary text, with the file's styles and with
// the window's.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "subtitles/AssReader.h"
#include "subtitles/EarlyCues.h"
#include "subtitles/TextLines.h"

namespace {

bool Fraction(const std::optional<double>& value) {
  return !value || std::isfinite(*value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tesmora::LineList lines = tesmora::SplitLines(text);
  const tesmora::SubtitleReadResult file = tesmora::ReadAss(lines, tesmora::CueStyles::File).read;
  const tesmora::SubtitleReadResult window =
      tesmora::ReadAss(lines, tesmora::CueStyles::Window).read;
  // Every cue keeps its list line. The window's choice keeps a \pos in the
  // text, so an event of nothing else stays a cue there; never the other
  // way round.
  if (file.entries.size() > window.entries.size() || file.listTexts.size() != file.entries.size()) {
    std::abort();
  }
  for (const tesmora::SubtitleEntry& entry : window.entries) {
    if (!entry.look.empty()) {
      std::abort();
    }
  }
  for (const tesmora::SubtitleEntry& entry : file.entries) {
    if (entry.lines.empty()) {
      std::abort();
    }
    const tesmora::CuePlacement& place = entry.look.placement;
    if (place.alignment < 0 || place.alignment > 9 || !Fraction(place.x) || !Fraction(place.y) ||
        !Fraction(entry.look.font.height)) {
      std::abort();
    }
  }
  bool early = false;
  for (const tesmora::SubtitleEntry& entry : file.entries) {
    early = early || entry.startMs < 0;
  }
  if (early == tesmora::StillEarlyCueMessage(file.entries, file.earlyCues).empty()) {
    std::abort();
  }
  return 0;
}
