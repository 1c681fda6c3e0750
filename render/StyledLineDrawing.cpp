#include "render/StyledLineDrawing.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "render/BidiParagraph.h"
#include "render/FaceFallback.h"
#include "render/SubtitleFont.h"
#include "render/SubtitleLayout.h"

namespace tesmora {

QFont RunFont(const SubtitleStyle& style, const TextRun& run) {
  FontStyle flags = style.style;
  flags.bold = flags.bold || run.bold;
  flags.italic = flags.italic || run.italic;
  flags.underline = flags.underline || run.underline;
  flags.strikeOut = flags.strikeOut || run.strikeOut;
  return SubtitleFont(style.fontName, style.size, flags);
}

namespace {

// A stretch of a line drawn in one font.
struct FontSegment {
  QString text;
  QFont font;
};

// Appends text in a font, merged into the last segment when that has the
// same font: a layout shapes each format range apart, so letters that join
// must share one.
void AppendSegment(std::vector<FontSegment>& segments, const QString& text, const QFont& font) {
  if (text.isEmpty()) {
    return;
  }
  if (!segments.empty() && segments.back().font == font) {
    segments.back().text += text;
  } else {
    segments.push_back({text, font});
  }
}

// The line's runs in their fonts, in text order, with the characters a
// run's face lacks moved to the face of its family that has them. A run
// whose face has every character stays whole.
std::vector<FontSegment> FontSegments(const StyledLine& line, const SubtitleStyle& style) {
  std::vector<FontSegment> segments;
  for (const TextRun& run : line.runs) {
    if (run.text.isEmpty()) {
      continue;
    }
    const QFont font = RunFont(style, run);
    const bool styled = font.italic() || font.weight() > QFont::Normal;
    const QFontMetrics metrics(font);
    qsizetype kept = 0;  // start of the characters not yet appended
    for (qsizetype i = 0; styled && i < run.text.size();) {
      const qsizetype length = run.text[i].isHighSurrogate() && i + 1 < run.text.size() &&
                                       run.text[i + 1].isLowSurrogate()
                                   ? 2
                                   : 1;
      const QString character = run.text.mid(i, length);
      const char32_t code = character.toUcs4().value(0);
      if (QChar::category(code) != QChar::Separator_Space && !metrics.inFontUcs4(code)) {
        const QFont face = FaceDrawing(character, font);
        if (face != font) {
          AppendSegment(segments, run.text.mid(kept, i - kept), font);
          AppendSegment(segments, character, face);
          kept = i + length;
        }
      }
      i += length;
    }
    if (kept < run.text.size()) {
      AppendSegment(segments, run.text.mid(kept), font);
    }
  }
  return segments;
}

QString SegmentsText(const std::vector<FontSegment>& segments) {
  QString text;
  for (const FontSegment& segment : segments) {
    text += segment.text;
  }
  return text;
}

QList<QTextLayout::FormatRange> SegmentFormats(const std::vector<FontSegment>& segments) {
  QList<QTextLayout::FormatRange> formats;
  int start = 0;
  for (const FontSegment& segment : segments) {
    QTextLayout::FormatRange range;
    range.start = start;
    range.length = static_cast<int>(segment.text.size());
    range.format.setFont(segment.font);
    formats.push_back(range);
    start += range.length;
  }
  return formats;
}

// A line holding right-to-left text measured as it is drawn: one bidi
// paragraph with each segment's font applied to its range.
LineMeasure MeasureBidiParagraph(const std::vector<FontSegment>& segments) {
  int height = 0;
  for (const FontSegment& segment : segments) {
    const QFontMetrics metrics(segment.font);
    height = std::max(height, metrics.ascent() + metrics.descent());
  }
  const QString text = SegmentsText(segments);
  if (text.size() > kFrameWidth) {
    // Too long to lay out; the plain measure says whether it can fit at all.
    const LineMeasure plain = MeasureLineWidth(text, segments.front().font);
    if (plain.width == kUnmeasurablyWide) {
      return {kUnmeasurablyWide, height};
    }
  }
  QTextLayout layout;
  LayOutBidiParagraph(layout, text, segments.front().font, SegmentFormats(segments));
  const double advance = layout.lineCount() > 0 ? layout.lineAt(0).horizontalAdvance() : 0.0;
  return {static_cast<int>(std::min<long long>(std::llround(advance), kUnmeasurablyWide)), height};
}

}  // namespace

LineMeasure MeasureStyledLine(const StyledLine& line, const SubtitleStyle& style) {
  // A line of many runs with more characters that take room than the frame
  // has columns cannot fit, however its runs are split: it measures as too
  // wide without laying out each run, which would take long for a long line.
  if (line.runs.size() > 1) {
    qsizetype characters = 0;
    for (const TextRun& run : line.runs) {
      characters += CharactersTakingRoom(run.text);
    }
    if (characters > kFrameWidth) {
      LineMeasure wide{kUnmeasurablyWide, 0};
      std::set<std::tuple<bool, bool, bool, bool>> fonts;  // a few at most
      for (const TextRun& run : line.runs) {
        if (!run.text.isEmpty() &&
            fonts.emplace(run.bold, run.italic, run.underline, run.strikeOut).second) {
          wide.height =
              std::max(wide.height, MeasureLineWidth(QString(), RunFont(style, run)).height);
        }
      }
      return wide;
    }
  }
  const std::vector<FontSegment> segments = FontSegments(line, style);
  if (segments.empty()) {
    return line.runs.size() == 1
               ? MeasureLineWidth(line.runs.front().text, RunFont(style, line.runs.front()))
               : MeasureLineWidth(QString(), SubtitleFont(style.fontName, style.size, style.style));
  }
  if (NeedsBidiParagraph(SegmentsText(segments))) {
    return MeasureBidiParagraph(segments);
  }
  if (segments.size() == 1) {
    return MeasureLineWidth(segments.front().text, segments.front().font);
  }
  LineMeasure total;
  for (const FontSegment& segment : segments) {
    const LineMeasure part = MeasureLineWidth(segment.text, segment.font);
    total.width = part.width == kUnmeasurablyWide || total.width == kUnmeasurablyWide
                      ? kUnmeasurablyWide
                      : static_cast<int>(std::min<long long>(
                            static_cast<long long>(total.width) + part.width, kUnmeasurablyWide));
    total.height = std::max(total.height, part.height);
  }
  return total;
}

std::vector<TextPiece> StyledLinePieces(const StyledLine& line, const SubtitleStyle& style,
                                        QPoint cell) {
  const std::vector<FontSegment> segments = FontSegments(line, style);
  std::vector<TextPiece> pieces;
  if (!segments.empty() && NeedsBidiParagraph(SegmentsText(segments))) {
    // One piece: the bidi algorithm, not the order of the runs, decides
    // where each run sits.
    pieces.push_back(
        {SegmentsText(segments), segments.front().font, cell, SegmentFormats(segments)});
    return pieces;
  }
  for (const FontSegment& segment : segments) {
    pieces.push_back({segment.text, segment.font, cell, {}});
  }
  // Each piece starts where the one before it ends; the last one's advance
  // is not needed.
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const TextPiece& before = pieces[i - 1];
    pieces[i].cell.setX(before.cell.x() + QFontMetrics(before.font).horizontalAdvance(before.text));
  }
  return pieces;
}

}  // namespace tesmora
