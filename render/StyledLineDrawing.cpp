#include "render/StyledLineDrawing.h"

#include <QFontMetrics>
#include <algorithm>
#include <set>
#include <tuple>

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

LineMeasure MeasureStyledLine(const StyledLine& line, const SubtitleStyle& style) {
  if (line.runs.size() == 1) {
    return MeasureLineWidth(line.runs.front().text, RunFont(style, line.runs.front()));
  }
  // A line of many runs with more characters that take room than the frame
  // has columns cannot fit, however its runs are split: it measures as too
  // wide without laying out each run, which would take long for a long line.
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
  LineMeasure total;
  bool anyText = false;
  for (const TextRun& run : line.runs) {
    if (run.text.isEmpty()) {
      continue;
    }
    const LineMeasure part = MeasureLineWidth(run.text, RunFont(style, run));
    total.width = part.width == kUnmeasurablyWide || total.width == kUnmeasurablyWide
                      ? kUnmeasurablyWide
                      : static_cast<int>(std::min<long long>(
                            static_cast<long long>(total.width) + part.width, kUnmeasurablyWide));
    total.height = std::max(total.height, part.height);
    anyText = true;
  }
  if (!anyText) {
    return MeasureLineWidth(QString(), SubtitleFont(style.fontName, style.size, style.style));
  }
  return total;
}

std::vector<TextPiece> StyledLinePieces(const StyledLine& line, const SubtitleStyle& style,
                                        QPoint cell) {
  std::vector<TextPiece> pieces;
  for (const TextRun& run : line.runs) {
    if (!run.text.isEmpty()) {
      pieces.push_back({run.text, RunFont(style, run), cell});
    }
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
