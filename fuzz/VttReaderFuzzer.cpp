// The WebVTT reader on arbitrary bytes, and the WebVTT markup on each cue it
// reads.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "subtitles/TextLines.h"
#include "subtitles/VttReader.h"
#include "text/CueMarkup.h"

namespace {

bool Fraction(const std::optional<double>& value) {
  return !value || (*value >= -1e-9 && *value <= 1 + 1e-9);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tesmora::SubtitleReadResult read = tesmora::ReadVtt(tesmora::SplitLines(text));
  // Every cue keeps its list line, and a refused file gives no cue.
  if (read.listTexts.size() != read.entries.size() ||
      (!read.error.empty() && !read.entries.empty())) {
    std::abort();
  }
  for (const tesmora::SubtitleEntry& entry : read.entries) {
    const tesmora::CuePlacement& placement = entry.look.placement;
    // WebVTT times are never negative, and a placement stays on the frame.
    if (entry.startMs < 0 || entry.lines.empty() || placement.alignment < 0 ||
        placement.alignment > 9 || !Fraction(placement.x) || !Fraction(placement.y) ||
        !Fraction(placement.width)) {
      std::abort();
    }
    QStringList lines;
    for (const std::string_view line : entry.lines) {
      lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    }
    tesmora::ParseCueMarkup(lines, tesmora::MarkupDialect::WebVtt);
  }
  return 0;
}
