#include "render/CueTextNotes.h"

#include <array>

#include "render/MissingGlyphs.h"
#include "render/StyledLineDrawing.h"

namespace tesmora {
namespace {

// At most this many characters are named; the rest are counted.
constexpr qsizetype kNamedCharacters = 10;

QString CodePointName(char32_t codePoint) {
  return QStringLiteral("U+%1")
      .arg(static_cast<uint>(codePoint), 4, 16, QLatin1Char('0'))
      .toUpper();
}

std::string NamedCharacters(const QString& characters) {
  const QList<uint> codePoints = characters.toUcs4();
  QStringList named;
  for (qsizetype i = 0; i < codePoints.size() && i < kNamedCharacters; ++i) {
    const char32_t codePoint = codePoints[i];
    named << QStringLiteral("\"%1\" (%2)")
                 .arg(QString::fromUcs4(&codePoint, 1), CodePointName(codePoint));
  }
  QString text = named.join(QStringLiteral(", "));
  if (codePoints.size() > kNamedCharacters) {
    text += QStringLiteral(" and %1 more").arg(codePoints.size() - kNamedCharacters);
  }
  return text.toStdString();
}

// The font variants a run can be drawn in, by its bold and italic flags.
std::size_t VariantOf(const TextRun& run) {
  return (run.bold ? 1U : 0U) + (run.italic ? 2U : 0U);
}

bool HoldsAnyOf(const PreparedCue& cue, const QString& characters) {
  const QList<uint> wanted = characters.toUcs4();
  for (const StyledLine& line : cue.lines) {
    for (const uint codePoint : line.plainText().toUcs4()) {
      if (wanted.contains(codePoint)) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::string RemovedMarkupNote(const std::vector<PreparedCue>& cues) {
  std::size_t count = 0;
  std::size_t firstCue = 0;
  QString first;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    const PreparedCue& cue = cues[i];
    if (!cue.removedMarkup.isEmpty() && count == 0) {
      firstCue = i + 1;
      first = cue.removedMarkup.front();
    }
    count += static_cast<std::size_t>(cue.removedMarkup.size());
  }
  if (count == 0) {
    return {};
  }
  return std::to_string(count) +
         " markup tag(s) that a subpicture cannot show were left out, the first in cue " +
         std::to_string(firstCue) + ": " + first.toStdString() + ".";
}

std::string MissingGlyphsNote(const std::vector<PreparedCue>& cues, const SubtitleStyle& style) {
  // All the text drawn in each font variant, checked once per variant.
  std::array<QString, 4> textByVariant;
  std::array<TextRun, 4> variantRuns;
  for (const PreparedCue& cue : cues) {
    for (const StyledLine& line : cue.lines) {
      for (const TextRun& run : line.runs) {
        textByVariant[VariantOf(run)] += run.text;
        variantRuns[VariantOf(run)] = TextRun{{}, run.bold, run.italic};
      }
    }
  }
  QString missing;
  for (std::size_t variant = 0; variant < textByVariant.size(); ++variant) {
    const QString characters =
        CharactersWithoutGlyph(textByVariant[variant], RunFont(style, variantRuns[variant]));
    for (const uint codePoint : characters.toUcs4()) {
      if (!missing.toUcs4().contains(codePoint)) {
        const char32_t c = codePoint;
        missing += QString::fromUcs4(&c, 1);
      }
    }
  }
  if (missing.isEmpty()) {
    return {};
  }
  std::size_t firstCue = 0;
  while (firstCue < cues.size() && !HoldsAnyOf(cues[firstCue], missing)) {
    ++firstCue;
  }
  return "No installed font can draw " + NamedCharacters(missing) + ", first in cue " +
         std::to_string(firstCue + 1) +
         "; they come out as empty boxes. Install a font that covers them.";
}

std::vector<std::string> CueTextNotes(const std::vector<SubtitleEntry>& entries,
                                      const TextSource& source, const SubtitleStyle& style) {
  // Read for markup only: wrapping moves no character in or out of a cue.
  TextSource read = source;
  read.wrap = false;
  std::vector<PreparedCue> cues;
  cues.reserve(entries.size());
  for (const SubtitleEntry& entry : entries) {
    cues.push_back(PrepareCue(entry.lines, read, style));
  }
  std::vector<std::string> notes;
  for (std::string note : {RemovedMarkupNote(cues), MissingGlyphsNote(cues, style)}) {
    if (!note.empty()) {
      notes.push_back(std::move(note));
    }
  }
  return notes;
}

}  // namespace tesmora
