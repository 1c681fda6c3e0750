#include "render/CueTextNotes.h"

#include <array>
#include <optional>
#include <utility>

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

// The characters of a text given piece by piece, each once, in the order of
// its first appearance, split as the whole text would be: a surrogate pair
// split over two pieces is one character. A character is kept as its code
// point; a lone surrogate as its own value, which no pair has.
class DistinctCharacters {
 public:
  void add(const QString& piece) {
    for (const QChar unit : piece) {
      if (pendingHigh_) {
        const char16_t high = *std::exchange(pendingHigh_, std::nullopt);
        if (unit.isLowSurrogate()) {
          keep(QChar::surrogateToUcs4(high, unit.unicode()));
          continue;
        }
        keep(high);
      }
      if (unit.isHighSurrogate()) {
        pendingHigh_ = unit.unicode();
      } else {
        keep(unit.unicode());
      }
    }
  }

  // Every character, an unpaired high surrogate at the very end included.
  QStringList characters() const {
    QStringList all;
    for (const char32_t codePoint : order_) {
      all << Character(codePoint);
    }
    if (pendingHigh_ && (seen_.empty() || !seen_[*pendingHigh_])) {
      all << Character(*pendingHigh_);
    }
    return all;
  }

 private:
  static QString Character(char32_t codePoint) {
    return QChar::requiresSurrogates(codePoint) ? QString::fromUcs4(&codePoint, 1)
                                                : QString(QChar(static_cast<char16_t>(codePoint)));
  }

  void keep(char32_t codePoint) {
    if (seen_.empty()) {
      seen_.resize(0x110000);
    }
    if (!seen_[codePoint]) {
      seen_[codePoint] = true;
      order_.push_back(codePoint);
    }
  }

  std::vector<bool> seen_;  // by code point, once a character is kept
  std::vector<char32_t> order_;
  std::optional<char16_t> pendingHigh_;
};

// What the notes need to know of the cues, gathered one cue at a time so
// that no more than one prepared cue is held however long the film.
class CueTextSurvey {
 public:
  void add(const PreparedCue& cue) {
    ++cues_;
    if (!cue.removedMarkup.isEmpty() && removedCount_ == 0) {
      firstRemovedCue_ = cues_;
      firstRemoved_ = cue.removedMarkup.front();
    }
    removedCount_ += static_cast<std::size_t>(cue.removedMarkup.size());
    for (const StyledLine& line : cue.lines) {
      for (const TextRun& run : line.runs) {
        textByVariant_[VariantOf(run)].add(run.text);
        variantRuns_[VariantOf(run)] = TextRun{{}, run.bold, run.italic};
      }
    }
  }

  std::string removedMarkupNote() const {
    if (removedCount_ == 0) {
      return {};
    }
    return std::to_string(removedCount_) +
           " markup tag(s) that a subpicture cannot show were left out, the first in cue " +
           std::to_string(firstRemovedCue_) + ": " + firstRemoved_.toStdString() + ".";
  }

  // The characters without a glyph in the font of the runs that hold them,
  // each once: those of plain runs first, then bold, italic, bold italic.
  QString missingCharacters(const SubtitleStyle& style) const {
    QString missing;
    for (std::size_t variant = 0; variant < textByVariant_.size(); ++variant) {
      const QFont font = RunFont(style, variantRuns_[variant]);
      for (const QString& character : textByVariant_[variant].characters()) {
        for (const uint codePoint : CharactersWithoutGlyph(character, font).toUcs4()) {
          if (!missing.toUcs4().contains(codePoint)) {
            const char32_t c = codePoint;
            missing += QString::fromUcs4(&c, 1);
          }
        }
      }
    }
    return missing;
  }

 private:
  std::size_t cues_ = 0;
  std::size_t removedCount_ = 0;
  std::size_t firstRemovedCue_ = 0;
  QString firstRemoved_;
  std::array<DistinctCharacters, 4> textByVariant_;
  std::array<TextRun, 4> variantRuns_;
};

std::string MissingGlyphsText(const QString& missing, std::size_t firstCue) {
  return "No installed font can draw " + NamedCharacters(missing) + ", first in cue " +
         std::to_string(firstCue) +
         "; they come out as empty boxes. Install a font that covers them.";
}

}  // namespace

std::string RemovedMarkupNote(const std::vector<PreparedCue>& cues) {
  CueTextSurvey survey;
  for (const PreparedCue& cue : cues) {
    survey.add(cue);
  }
  return survey.removedMarkupNote();
}

std::string MissingGlyphsNote(const std::vector<PreparedCue>& cues, const SubtitleStyle& style) {
  CueTextSurvey survey;
  for (const PreparedCue& cue : cues) {
    survey.add(cue);
  }
  const QString missing = survey.missingCharacters(style);
  if (missing.isEmpty()) {
    return {};
  }
  std::size_t firstCue = 0;
  while (firstCue < cues.size() && !HoldsAnyOf(cues[firstCue], missing)) {
    ++firstCue;
  }
  return MissingGlyphsText(missing, firstCue + 1);
}

std::vector<std::string> CueTextNotes(const std::vector<SubtitleEntry>& entries,
                                      const TextSource& source, const SubtitleStyle& style) {
  // Read for markup only: wrapping moves no character in or out of a cue.
  TextSource read = source;
  read.wrap = false;
  CueTextSurvey survey;
  for (const SubtitleEntry& entry : entries) {
    survey.add(ReadCueText(entry.lines, read, style));
  }
  std::vector<std::string> notes;
  if (std::string note = survey.removedMarkupNote(); !note.empty()) {
    notes.push_back(std::move(note));
  }
  if (const QString missing = survey.missingCharacters(style); !missing.isEmpty()) {
    // The cues are read again, up to the first that holds one of them.
    std::size_t firstCue = 0;
    while (firstCue < entries.size() &&
           !HoldsAnyOf(ReadCueText(entries[firstCue].lines, read, style), missing)) {
      ++firstCue;
    }
    notes.push_back(MissingGlyphsText(missing, firstCue + 1));
  }
  return notes;
}

}  // namespace tesmora
