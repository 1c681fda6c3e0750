#include "render/PreparedCue.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "render/StyledLineDrawing.h"
#include "render/SubtitleFont.h"
#include "render/SubtitleLayout.h"
#include "text/LineWrap.h"

namespace tesmora {

bool PreparedCue::fitsWidth() const {
  for (const LineMeasure& measure : measures) {
    if (measure.width >= kLineLimit) {
      return false;
    }
  }
  return true;
}

QStringList PreparedCue::plainLines() const {
  QStringList plain;
  for (const StyledLine& line : lines) {
    plain << line.plainText();
  }
  return plain;
}

bool AnyLineTooLongToRead(const QStringList& lines) {
  for (const QString& line : lines) {
    if (line.size() > kLongestReadLine) {
      return true;
    }
  }
  return false;
}

QStringList CueLineTexts(const std::vector<std::string>& lines) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) {
    texts << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  }
  return texts;
}

namespace {

// The rows of the tallest frame, PAL's.
constexpr int kTallestFrame = 576;

// The most lines a line is broken into. No frame holds more lines than its
// rows divided by the cell height of the style's font; twice that leaves
// room for runs in a bold or italic font of a lower cell. A line that needs
// more could never be drawn whole, and breaking it would take time and
// memory growing with its length.
std::size_t MostWrappedLines(const SubtitleStyle& style) {
  const int cell =
      MeasureLineWidth(QString(), SubtitleFont(style.fontName, style.size, style.style)).height;
  return static_cast<std::size_t>(2 * kTallestFrame / std::max(cell, 1));
}

// Every line too wide for the frame broken where lines may break; a line
// holding a word too wide on its own stays as it is, and is refused as too
// long. A line needing more lines than a frame can hold also stays as it
// is, and `wrappedPast` is set to the lines it was allowed: the cue is too
// tall.
std::vector<StyledLine> WrappedLines(const std::vector<StyledLine>& lines,
                                     const SubtitleStyle& style, int limit,
                                     std::size_t& wrappedPast) {
  const StyledLineWidth width = [&style](const StyledLine& line) {
    return static_cast<long long>(MeasureStyledLine(line, style).width);
  };
  const std::size_t maxLines = MostWrappedLines(style);
  std::vector<StyledLine> wrapped;
  for (const StyledLine& line : lines) {
    WrappedLine broken = WrapLine(line, limit, width, maxLines);
    if (broken.lines.empty()) {
      if (broken.tooManyLines) {
        wrappedPast = maxLines;
      }
      wrapped.push_back(line);
    } else {
      wrapped.insert(wrapped.end(), broken.lines.begin(), broken.lines.end());
    }
  }
  return wrapped;
}

// The width lines are wrapped to: the frame's line limit, or a narrower
// box the cue's placement asks for.
int WrapLimit(const CuePlacement& placement) {
  if (!placement.width) {
    return kLineLimit;
  }
  const double box = std::clamp(*placement.width, 0.0, 1.0) * kFrameWidth;
  return std::max(1, std::min(kLineLimit, static_cast<int>(box)));
}

}  // namespace

PreparedCue ReadCueText(const std::vector<std::string>& lines, const TextSource& source,
                        const SubtitleStyle& style, const CuePlacement& placement) {
  const QStringList texts = CueLineTexts(lines);
  PreparedCue cue;
  cue.placement = placement;
  if (AnyLineTooLongToRead(texts)) {
    for (const QString& line : texts) {
      cue.lines.push_back(StyledLine{{TextRun{line}}});
    }
    if (source.wrap) {
      cue.wrappedPast = MostWrappedLines(style);
    }
    return cue;
  }
  if (source.symbol) {
    const QFont font = SubtitleFont(style.fontName, style.size, style.style);
    for (const QString& line : texts) {
      cue.lines.push_back(StyledLine{{TextRun{SymbolTextForFont(line, font)}}});
    }
  } else {
    CueText text = ParseCueMarkup(texts, source.dialect);
    cue.lines = std::move(text.lines);
    cue.alignment = text.alignment;
    cue.removedMarkup = std::move(text.removedMarkup);
  }
  // A box narrower than the frame's lines is the file's own choice of
  // width: its lines are wrapped in it whether or not the user asked for
  // wrapping, as players of such files do.
  const int limit = WrapLimit(placement);
  if (source.wrap || limit < kLineLimit) {
    cue.lines = WrappedLines(cue.lines, style, limit, cue.wrappedPast);
  }
  return cue;
}

PreparedCue PrepareCue(const std::vector<std::string>& lines, const TextSource& source,
                       const SubtitleStyle& style, const CuePlacement& placement) {
  PreparedCue cue = ReadCueText(lines, source, style, placement);
  cue.measures.reserve(cue.lines.size());
  for (const StyledLine& line : cue.lines) {
    cue.measures.push_back(MeasureStyledLine(line, style));
  }
  return cue;
}

SubtitleStyle StyleOfCueFont(const SubtitleStyle& style, const CueFont& font, int frameHeight) {
  SubtitleStyle own = style;
  if (!font.family.empty()) {
    own.fontName = QString::fromStdString(font.family);
  }
  own.style.bold = font.bold.value_or(own.style.bold);
  own.style.italic = font.italic.value_or(own.style.italic);
  own.style.underline = font.underline.value_or(own.style.underline);
  own.style.strikeOut = font.strikeOut.value_or(own.style.strikeOut);
  if (font.height && *font.height > 0) {
    // A script's font size is the height of the font's cell, not of its em:
    // the em is found from the cell of the face at a reference size, then
    // given in points at the 96 pixels per inch the pictures are drawn at.
    constexpr int kReferencePixels = 100;
    QFont reference = SubtitleFont(own.fontName, 1, own.style);
    reference.setPixelSize(kReferencePixels);
    const QFontMetricsF metrics(reference);
    const double cell = metrics.ascent() + metrics.descent();
    const double em = *font.height * frameHeight * (cell > 0 ? kReferencePixels / cell : 1.0);
    // No frame holds a line taller than itself.
    own.size = static_cast<int>(
        std::clamp(std::lround(em * 72.0 / 96.0), 1L, static_cast<long>(frameHeight)));
  }
  return own;
}

PreparedCue PrepareCueInItsFont(const std::vector<std::string>& lines, const CueLook& look,
                                const TextSource& source, const SubtitleStyle& style,
                                int frameHeight) {
  if (look.font == CueFont{}) {
    return PrepareCue(lines, source, style, look.placement);
  }
  SubtitleStyle own = StyleOfCueFont(style, look.font, frameHeight);
  PreparedCue prepared = PrepareCue(lines, source, own, look.placement);
  prepared.ownStyle = std::move(own);
  return prepared;
}

std::vector<PreparedCue> PrepareCues(std::span<const CueToDraw> cues, const TextSource& source,
                                     const SubtitleStyle& style, int frameHeight) {
  // Lower layers first, so that they stack below and are drawn under the
  // higher ones; cues of one layer in the order given.
  std::vector<const CueToDraw*> order;
  order.reserve(cues.size());
  for (const CueToDraw& cue : cues) {
    order.push_back(&cue);
  }
  std::stable_sort(order.begin(), order.end(), [](const CueToDraw* a, const CueToDraw* b) {
    return a->look.font.layer < b->look.font.layer;
  });
  std::vector<PreparedCue> prepared;
  prepared.reserve(cues.size());
  for (const CueToDraw* each : order) {
    prepared.push_back(PrepareCueInItsFont(each->lines, each->look, source, style, frameHeight));
  }
  return prepared;
}

QString CueListText(const std::vector<std::string>& lines) {
  return CueLineTexts(lines).join(QStringLiteral(" | "));
}

}  // namespace tesmora
