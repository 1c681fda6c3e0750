#include "render/TextlessCues.h"

#include "core/SubtitleError.h"
#include "text/CueMarkup.h"

namespace tesmora {
namespace {

bool IsBlank(const QString& text) {
  for (const QChar c : text) {
    if (!c.isSpace()) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool HasNothingToDraw(const std::vector<std::string>& lines, const TextSource& source) {
  const QStringList texts = CueLineTexts(lines);
  // Such a line is refused by the fit check without reading its markup.
  if (AnyLineTooLongToRead(texts)) {
    return false;
  }
  // Symbol text is drawn as written, like text read without markup.
  if (source.symbol || source.dialect == MarkupDialect::Literal) {
    for (const QString& line : texts) {
      if (!IsBlank(line)) {
        return false;
      }
    }
    return true;
  }
  for (const StyledLine& line : ParseCueMarkup(texts, source.dialect).lines) {
    if (!IsBlank(line.plainText())) {
      return false;
    }
  }
  return true;
}

std::string LeaveOutTextlessCues(std::vector<SubtitleEntry>& cues, const TextSource& source) {
  std::size_t kept = 0;
  std::size_t count = 0;
  std::size_t first = 0;
  long long firstStartMs = 0;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    if (HasNothingToDraw(cues[i].lines, source)) {
      if (count++ == 0) {
        first = i;
        firstStartMs = cues[i].startMs;
      }
      continue;
    }
    if (kept != i) {
      cues[kept] = std::move(cues[i]);
    }
    ++kept;
  }
  cues.erase(cues.begin() + static_cast<std::ptrdiff_t>(kept), cues.end());
  if (count == 0) {
    return {};
  }
  const std::string named =
      std::to_string(first + 1) + ", starting at " + FormatSubtitleTime(firstStartMs);
  if (count == 1) {
    return "Subtitle " + named + ", has nothing to draw once its markup is read and was left out.";
  }
  return std::to_string(count) +
         " subtitles have nothing to draw once their markup is read and were left out; the "
         "first is subtitle " +
         named + ".";
}

}  // namespace tesmora
