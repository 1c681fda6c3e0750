#include "render/CueLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

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
  // The point of the frame's width the line is aligned on, in pixels, when
  // the cue's placement gives one; the style's side margins otherwise.
  std::optional<double> anchor = std::nullopt;
  const SubtitleStyle* style = nullptr;
};

// `value` rounded to the nearest whole number from `low` to `high`; a value
// that is no number gives `low`. Placements come from files, so a point far
// off the frame must not overflow.
int RoundedWithin(double value, int low, int high) {
  if (!(value >= low)) {
    return low;
  }
  return value >= high ? high : static_cast<int>(std::lround(value));
}

// The left edge of a line: at its anchor by its alignment word, kept within
// the frame, or where the style puts it.
int BlockLineLeft(const BlockLine& line) {
  if (!line.anchor) {
    return LineLeft(line.align, line.measure.width);
  }
  const double shift = line.align == QLatin1String("left")     ? 0.0
                       : line.align == QLatin1String("center") ? line.measure.width / 2.0
                                                               : line.measure.width;
  return RoundedWithin(*line.anchor - shift, 0, std::max(0, kFrameWidth - line.measure.width));
}

// Whether a placement says where the cue goes up and down.
bool PlacedVertically(const CuePlacement& placement) {
  return placement.y.has_value() || placement.lineNumber.has_value() ||
         (placement.alignment != 0 && placement.marginVertical.has_value());
}

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
    layout.lines.push_back({block[i].line, QPoint(BlockLineLeft(block[i]), firstTop + tops[i]),
                            block[i].measure.height, block[i].style});
  }
  const int first = (firstTop & 1) != 0 ? firstTop - 1 : firstTop;
  const int end = firstTop + tops.back() + block.front().measure.height + kBandTail;
  bandFirst = std::min(bandFirst, first);
  bandLast = std::max(bandLast, first + (end - firstTop) - 1);
}

// The top of a cue that places itself up and down, `height` rows high
// with lines `step` rows apart. A line number counts lines within the
// style's margins (the rows a one-line cue of the style may use, top and
// bottom): 0 the top line, -1 the bottom one; the cue is kept within them.
// A height as a share of the frame places the top, middle or bottom of
// the cue, by its alignment's row, kept within the frame. A margin places
// it that far from the top or bottom edge.
int PlacedTop(const CuePlacement& placement, int height, int step, const SubtitleStyle& style,
              int frameHeight) {
  const int areaTop = kEdgeMargin + style.offset;
  const int areaBottom = frameHeight - kEdgeMargin - style.offset;
  const Row row = RowOf(placement.alignment == 0 ? 2 : placement.alignment);
  if (placement.y) {
    const double y = *placement.y * frameHeight;
    const double top = row == Row::Top ? y : row == Row::Middle ? y - height / 2.0 : y - height;
    // The encoder reads a few rows below the last line; they stay in the frame.
    return RoundedWithin(top, 0, std::max(0, frameHeight - height - kBandTail));
  }
  if (placement.lineNumber) {
    const long long n = *placement.lineNumber;
    const long long top = n >= 0 ? areaTop + n * step : areaBottom + (n + 1) * step - height;
    const long long lowest = std::max(areaTop, areaBottom - height);
    return static_cast<int>(std::clamp<long long>(top, areaTop, lowest));
  }
  const int margin =
      RoundedWithin(placement.marginVertical.value_or(0) * frameHeight, 0, frameHeight);
  switch (row) {
    case Row::Top:
      return margin;
    case Row::Middle:
      return (frameHeight - height) / 2;
    case Row::Bottom:
      break;
  }
  return frameHeight - margin - height;
}

// Whether rows [top, top + height) hold a line placed so far.
bool Overlaps(const CuesLayout& layout, int top, int height) {
  return std::any_of(layout.lines.begin(), layout.lines.end(), [&](const PlacedLine& line) {
    return line.cell.y() < top + height && top < line.cell.y() + line.height;
  });
}

// A cue placed by a line number that would cover lines placed before it
// moves a line at a time (down from the top, up from the bottom) to the
// first place clear of them within `area`, and when it reaches the area's
// edge, the other way from where it started, as browsers move such cues.
// Where there is no such place it stays where its number put it.
int ClearOfOthers(const CuesLayout& layout, int top, int height, int step,
                  std::pair<int, int> area) {
  for (const int direction : {step, -step}) {
    for (int moved = top; moved >= area.first && moved + height <= area.second;
         moved += direction) {
      if (!Overlaps(layout, moved, height)) {
        return moved;
      }
    }
  }
  return top;
}

}  // namespace

CuesLayout PlaceCues(std::span<const PreparedCue> cues, const SubtitleStyle& style,
                     int frameHeight) {
  std::vector<BlockLine> bottom;
  std::vector<BlockLine> middle;
  std::vector<BlockLine> top;
  // Cues that place themselves up and down, each a block of its own.
  std::vector<std::pair<std::vector<BlockLine>, const CuePlacement*>> placed;
  bool firstBottom = true;
  for (const PreparedCue& cue : cues) {
    const CuePlacement& placement = cue.placement;
    // The placement's alignment holds over the cue's markup, which holds
    // over the style's.
    const int alignment = placement.alignment != 0 ? placement.alignment : cue.alignment;
    const QString align = ColumnOf(alignment, style.align);
    std::optional<double> anchor;
    if (placement.x) {
      anchor = *placement.x * kFrameWidth;
    } else if (placement.marginLeft && align == QLatin1String("left")) {
      anchor = *placement.marginLeft * kFrameWidth;
    } else if (placement.marginRight && align != QLatin1String("left") &&
               align != QLatin1String("center")) {
      anchor = (1.0 - *placement.marginRight) * kFrameWidth;
    } else if (placement.marginLeft || placement.marginRight) {
      // Centred between the margins.
      anchor = (placement.marginLeft.value_or(0) + 1.0 - placement.marginRight.value_or(0)) *
               kFrameWidth / 2;
    }
    std::vector<BlockLine> lines;
    for (std::size_t i = 0; i < cue.lines.size(); ++i) {
      lines.push_back(
          {&cue.lines[i], cue.measures[i], align, anchor, cue.ownStyle ? &*cue.ownStyle : nullptr});
    }
    if (PlacedVertically(placement)) {
      if (!lines.empty()) {
        placed.emplace_back(std::move(lines), &placement);
      }
      continue;
    }
    switch (RowOf(alignment)) {
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
  if (bottom.empty() && middle.empty() && top.empty() && placed.empty()) {
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
  for (const auto& [block, placement] : placed) {
    const std::vector<int> tops = RelativeTops(block, style.offsetOr);
    const int height = tops.back() + block.back().measure.height;
    const int step = block.front().measure.height - style.offsetOr;
    int top = PlacedTop(*placement, height, step, style, frameHeight);
    if (placement->lineNumber) {
      top = ClearOfOthers(layout, top, height, *placement->lineNumber >= 0 ? step : -step,
                          {kEdgeMargin + style.offset, frameHeight - kEdgeMargin - style.offset});
    }
    PlaceBlock(block, top, style.offsetOr, layout, bandFirst, bandLast);
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
