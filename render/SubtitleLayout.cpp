#include "render/SubtitleLayout.h"

#include <algorithm>

namespace tesmora {
namespace {

constexpr int kSideMargin = 8;
constexpr int kBottomMargin = 40;
constexpr int kBandTail = 6;

}  // namespace

int LineLeft(const QString& align, int width) {
  if (align == QLatin1String("center")) {
    return kFrameWidth / 2 - width / 2;
  }
  if (align == QLatin1String("left")) {
    return kSideMargin;
  }
  return kFrameWidth - width - kSideMargin;
}

SubtitleLayout PlaceSubtitle(const LineMeasure& line1, const LineMeasure& line2,
                             const QString& align, int offset, int offsetOr, int frameHeight) {
  const int y1 = frameHeight - line1.height - kBottomMargin - offset;
  const int y2 = y1 + line2.height - offsetOr;
  SubtitleLayout layout;
  layout.cell1 = {LineLeft(align, line1.width), y1};
  layout.cell2 = {LineLeft(align, line2.width), y2};
  layout.area.firstLine = (y1 & 1) != 0 ? y1 - 1 : y1;
  layout.area.lineCount = line1.height + line2.height - offsetOr + kBandTail;
  return layout;
}

EncodeArea BandHoldingInk(const EncodeArea& band, const QRect& ink) {
  if (ink.isEmpty()) {
    return band;
  }
  int first = band.firstLine;
  int last = band.lastLine();
  if (ink.top() < first) {
    first = (ink.top() & 1) != 0 ? ink.top() - 1 : ink.top();
  }
  last = std::max(last, ink.bottom());
  return {first, last - first + 1};
}

}  // namespace tesmora
