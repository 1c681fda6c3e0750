#include "render/StyledLineDrawing.h"

#include <QFontMetrics>
#include <algorithm>

#include "render/SubtitleFont.h"

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
  int x = cell.x();
  for (const TextRun& run : line.runs) {
    if (run.text.isEmpty()) {
      continue;
    }
    QFont font = RunFont(style, run);
    const int advance = QFontMetrics(font).horizontalAdvance(run.text);
    pieces.push_back({run.text, std::move(font), QPoint(x, cell.y())});
    x += advance;
  }
  return pieces;
}

}  // namespace tesmora
