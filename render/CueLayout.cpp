#include "render/CueLayout.h"

#include <algorithm>
#include <limits>

#include <QFontMetrics>

#include "render/StyledLineDrawing.h"
#include "render/SubtitleFont.h"

#include "render/SubtitleLayout.h"

namespace tesmora {
namespace {

constexpr int kEdgeMargin = 40;
constexpr int kBandTail = 6;

enum class Row { Bottom, Middle, Top };

Row RowOf(int alignment) {
  if (alignment >= 7) {
    return Row::Top;
  }
  if (alignment >= 4) {
    return Row::Middle;
  }
  return Row::Bottom;
}

// The alignment control's word for a keypad placement's column, or the
// control's own when the cue does not place itself.
QString ColumnOf(int alignment, const QString& chosen) {
  if (alignment == 0) {
    return chosen;
  }
  switch ((alignment - 1) % 3) {
    case 0:
      return QStringLiteral("left");
    case 1:
      return QStringLiteral("center");
    default:
      return QStringLiteral("right");
  }
}

struct BlockLine {
  const StyledLine* line;
  LineMeasure measure;
  QString align;
  const SubtitleStyle* style = nullptr;
};

const StyledLine& EmptyLine() {
  static const StyledLine kEmpty{{TextRun{}}};
  return kEmpty;
}

// The tops of a block's cells, the first one at 0: each line starts -offsetOr
// rows above the bottom of the cell before it.
std::vector<int> RelativeTops(const std::vector<BlockLine>& block, int offsetOr) {
  std::vector<int> tops(block.size(), 0);
  for (std::size_t i = 1; i < block.size(); ++i) {
    tops[i] = tops[i - 1] + block[i].measure.height - offsetOr;
  }
  return tops;
}

void PlaceBlock(const std::vector<BlockLine>& block, int firstTop, int offsetOr, CuesLayout& layout,
                int& bandFirst, int& bandLast) {
  if (block.empty()) {
    return;
  }
  const std::vector<int> tops = RelativeTops(block, offsetOr);
  for (std::size_t i = 0; i < block.size(); ++i) {
    layout.lines.push_back(
        {block[i].line,
         QPoint(LineLeft(block[i].align, block[i].measure.width), firstTop + tops[i]),
         block[i].measure.height, block[i].style});
  }
  const int first = (firstTop & 1) != 0 ? firstTop - 1 : firstTop;
  const int end = firstTop + tops.back() + block.front().measure.height + kBandTail;
  bandFirst = std::min(bandFirst, first);
  bandLast = std::max(bandLast, first + (end - firstTop) - 1);
}

}  // namespace

CuesLayout PlaceCues(std::span<const PreparedCue> cues, const SubtitleStyle& style,
                     int frameHeight) {
  std::vector<BlockLine> bottom;
  std::vector<BlockLine> middle;
  std::vector<BlockLine> top;
  bool firstBottom = true;
  for (const PreparedCue& cue : cues) {
    const QString align = ColumnOf(cue.alignment, style.align);
    std::vector<BlockLine> lines;
    for (std::size_t i = 0; i < cue.lines.size(); ++i) {
      lines.push_back(
          {&cue.lines[i], cue.measures[i], align, cue.ownStyle ? &*cue.ownStyle : nullptr});
    }
    switch (RowOf(cue.alignment)) {
      case Row::Bottom:
        if (firstBottom) {
          // The earliest cue keeps the two-line layout's places.
          const LineMeasure blank = MeasureStyledLine(EmptyLine(), style);
          while (lines.size() < 2) {
            lines.push_back({&EmptyLine(), blank, align});
          }
          firstBottom = false;
        }
        bottom.insert(bottom.begin(), lines.begin(), lines.end());
        break;
      case Row::Middle:
        middle.insert(middle.end(), lines.begin(), lines.end());
        break;
      case Row::Top:
        top.insert(top.end(), lines.begin(), lines.end());
        break;
    }
  }
  if (bottom.empty() && middle.empty() && top.empty()) {
    // No cue, or none with a line (a cue of markup alone placed at the top
    // or middle): the band of the empty two-line layout.
    const LineMeasure blank = MeasureStyledLine(EmptyLine(), style);
    bottom = {{&EmptyLine(), blank, style.align}, {&EmptyLine(), blank, style.align}};
  }

  CuesLayout layout;
  int bandFirst = std::numeric_limits<int>::max();
  int bandLast = std::numeric_limits<int>::min();
  if (!bottom.empty()) {
    const std::vector<int> tops = RelativeTops(bottom, style.offsetOr);
    // The last line takes Line2's place below the line before it.
    const BlockLine& aboveLast = bottom[bottom.size() - 2];
    const int lastTop = frameHeight - aboveLast.measure.height - kEdgeMargin - style.offset +
                        bottom.back().measure.height - style.offsetOr;
    PlaceBlock(bottom, lastTop - tops.back(), style.offsetOr, layout, bandFirst, bandLast);
  }
  if (!middle.empty()) {
    const std::vector<int> tops = RelativeTops(middle, style.offsetOr);
    const int height = tops.back() + middle.back().measure.height;
    PlaceBlock(middle, (frameHeight - height) / 2, style.offsetOr, layout, bandFirst, bandLast);
  }
  if (!top.empty()) {
    PlaceBlock(top, kEdgeMargin + style.offset, style.offsetOr, layout, bandFirst, bandLast);
  }
  layout.area = {bandFirst, bandLast - bandFirst + 1};
  return layout;
}

bool LinesInsideFrame(const CuesLayout& layout, const SubtitleStyle& style, int frameHeight) {
  // Below the baseline only the tails of letters such as "g" hang; a large
  // font at a small offset has always let them pass the bottom edge.
  const int descent = QFontMetrics(SubtitleFont(style.fontName, style.size, style.style)).descent();
  // An empty line, such as the blank Line2 under a one-line cue, draws
  // nothing that could be cut.
  return std::all_of(layout.lines.begin(), layout.lines.end(), [&](const PlacedLine& p) {
    return p.line->plainText().isEmpty() ||
           (p.cell.y() >= 0 &&
            static_cast<long long>(p.cell.y()) + p.height - descent <= frameHeight);
  });
}

}  // namespace tesmora
