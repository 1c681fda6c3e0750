// The markup of a cue's decoded lines in each dialect, and the wrapping of
// each line it gives, on arbitrary text: UTF-8 or 8-bit bytes in a code page.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <string_view>

#include "fuzz/CueTextCheck.h"
#include "fuzz/FuzzBytes.h"
#include "fuzz/WrapCheck.h"
#include "render/NameTables.h"
#include "subtitles/TextDecoder.h"

namespace {

constexpr std::array<tesmora::MarkupDialect, 4> kDialects{
    tesmora::MarkupDialect::Srt, tesmora::MarkupDialect::MicroDvd, tesmora::MarkupDialect::Literal,
    tesmora::MarkupDialect::WebVtt};

// The narrowest limit tried: room for a few characters, so that lines
// break often without each word standing alone.
constexpr long long kNarrowestLimit = 60;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tesmora::fuzz::FuzzBytes input(data, size);
  const tesmora::MarkupDialect dialect = kDialects[input.pick(kDialects.size())];
  const bool utf8 = input.byte() % 2 == 0;
  const long long limit = kNarrowestLimit + input.u16() % 2000;
  const std::string_view bytes = input.rest();
  const QString text =
      utf8 ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
           : QString::fromStdString(tesmora::TextDecoder(tesmora::charset::kDefault).decode(bytes));
  const tesmora::CueText cue = tesmora::fuzz::CheckCueMarkup(text.split(u'\n'), dialect);
  for (const tesmora::StyledLine& line : cue.lines) {
    tesmora::fuzz::CheckWrapLine(line, limit);
  }
  return 0;
}
