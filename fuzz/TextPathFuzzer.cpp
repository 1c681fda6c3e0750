// The whole text path on an arbitrary file, as the converter takes it:
// decode, read (SRT or MicroDVD), read the cues' lines for
// markup, wrap them, change the times and plan the subpictures.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/CueTextCheck.h"
#include "fuzz/FuzzBytes.h"
#include "fuzz/TimeChangeCheck.h"
#include "fuzz/TimelineCheck.h"
#include "fuzz/WrapCheck.h"
#include "render/NameTables.h"
#include "render/PreparedCue.h"
#include "subtitles/FileText.h"
#include "subtitles/FrameReader.h"
#include "subtitles/SrtReader.h"
#include "subtitles/TextLines.h"
#include "timing/CueTimes.h"

namespace {

constexpr std::array<const char*, 5> kEncodings{"auto", "auto", "UTF-8", "UTF-16LE", "CP1252"};
constexpr std::array<int, 5> kCharsets{tesmora::charset::kDefault, tesmora::charset::kRussian,
                                       tesmora::charset::kShiftJis, tesmora::charset::kHebrew,
                                       tesmora::charset::kVietnamese};

// Where the reader or the markup dialect is not given by the file's kind.
struct PathChoices {
  bool frames = false;
  bool literal = false;
  std::optional<tesmora::ChosenFrameRate> fps;
  std::optional<tesmora::RateConversion> conversion;
  long long shiftMs = 0;
  long long limit = 0;
};

PathChoices PickChoices(tesmora::fuzz::FuzzBytes& input) {
  PathChoices choices;
  const std::uint8_t flags = input.byte();
  choices.frames = (flags & 1) != 0;
  choices.literal = (flags & 2) != 0;
  if ((flags & 4) != 0) {
    choices.fps = tesmora::ChosenFrameRate{{30000, 1001}, "29.97"};
  }
  if ((flags & 8) != 0) {
    choices.conversion = tesmora::RateConversion{{25, 1}, {24000, 1001}};
  }
  choices.shiftMs = static_cast<std::int16_t>(input.u16()) * 10;
  choices.limit = 60 + input.u16() % 2000;
  return choices;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tesmora::fuzz::FuzzBytes input(data, size);
  const std::string encoding = kEncodings[input.pick(kEncodings.size())];
  const int charset = kCharsets[input.pick(kCharsets.size())];
  const PathChoices choices = PickChoices(input);
  const tesmora::FileText file = tesmora::DecodeSubtitleFile(input.rest(), encoding, charset);
  const tesmora::LineList lines = tesmora::SplitLines(file.text);
  tesmora::SubtitleReadResult read = choices.frames
                                         ? tesmora::ReadFrames(lines, choices.fps)
                                         : tesmora::ReadSrt(lines, tesmora::ListTexts::Skipped);
  if (file.symbol) {
    tesmora::SymbolCueLines(read.entries);
  }

  const tesmora::TextSource source{choices.literal  ? tesmora::MarkupDialect::Literal
                                   : choices.frames ? tesmora::MarkupDialect::MicroDvd
                                                    : tesmora::MarkupDialect::Srt,
                                   true, file.symbol};
  for (const tesmora::SubtitleEntry& entry : read.entries) {
    const QStringList decoded = tesmora::CueLineTexts(entry.lines);
    const tesmora::CueText cue = tesmora::fuzz::CheckCueMarkup(decoded, source.dialect);
    for (const tesmora::StyledLine& line : cue.lines) {
      tesmora::fuzz::CheckWrapLine(line, choices.limit);
    }
  }
  const std::optional<std::vector<tesmora::SubtitleEntry>> changed =
      tesmora::fuzz::CheckChangeCueTimes(read.entries, choices.conversion, choices.shiftMs);
  if (changed) {
    tesmora::fuzz::CheckPlannedTimeline(tesmora::CueTimesOf(*changed));
  }
  return 0;
}
