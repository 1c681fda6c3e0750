#include "app/WindowFit.h"

#include <algorithm>
#include <cmath>

namespace tesmora {
namespace {

constexpr int kTallestFrame = 576;
constexpr int kRoomBelowPreview = kDesignClientSize.height() - kDesignPreviewPlace.bottom() - 1;
constexpr int kRightMargin = kDesignClientSize.width() - kChoicesLeft - kChoicesWidth;
// The space between the preview and the choices column.
constexpr int kPreviewGap = kChoicesLeft - kDesignPreviewPlace.right() - 1;
// The right edge of the palette and style rows, whose places are fixed.
constexpr int kRowsRight = 800;
// Where the column goes in a narrow window: below the style row.
constexpr int kBelowStyleRow = kDesignPreviewPlace.top() + 2;
constexpr int kChoicesHeight = kChoicesBottom - kChoicesTop;
// The list keeps room for a few cues below the choices.
constexpr int kSmallestList = 60;

int ChoicesLeft(QSize client) {
  return client.width() - kRightMargin - kChoicesWidth;
}

}  // namespace

QSize MinimumClientSize() {
  return {kRowsRight + kRightMargin, std::max(kDesignPreviewPlace.top() + kTallestFrame / 4,
                                              kBelowStyleRow + kChoicesHeight + kSmallestList) +
                                         kRoomBelowPreview};
}

QPoint ChoicesShift(QSize client) {
  const int left = ChoicesLeft(client);
  return {left - kChoicesLeft, left < kChoicesLeft ? kBelowStyleRow - kChoicesTop : 0};
}

QRect SubtitleListPlace(QSize client) {
  const int top = kChoicesBottom + ChoicesShift(client).y();
  return {ChoicesLeft(client), top, kChoicesWidth, client.height() - top - kRoomBelowPreview};
}

QSize FittedClientSize(QSize available, QMargins frame) {
  const QSize room = available.shrunkBy(frame);
  return kDesignClientSize.boundedTo(room).expandedTo(MinimumClientSize());
}

QRect PreviewPlace(QSize client, QSize frame) {
  const QSize room(ChoicesLeft(client) - kPreviewGap - kDesignPreviewPlace.left(),
                   client.height() - kDesignPreviewPlace.top() - kRoomBelowPreview);
  const double byHeight = static_cast<double>(room.height()) / kTallestFrame;
  const double byWidth = static_cast<double>(room.width()) / kDesignPreviewPlace.width();
  const double scale = std::max(0.0, std::min(byHeight, byWidth));
  const QSize shown(static_cast<int>(std::lround(frame.width() * scale)),
                    static_cast<int>(std::lround(frame.height() * scale)));
  const int left = kDesignPreviewPlace.left() + (room.width() - shown.width()) / 2;
  return {QPoint(left, kDesignPreviewPlace.top()), shown};
}

bool ShowsOnAScreen(const QRect& frame, const QList<QRect>& screenAreas) {
  constexpr int kTitleHeight = 20;
  constexpr int kGrip = 100;
  const QRect title(frame.topLeft(), QSize(frame.width(), kTitleHeight));
  const int grip = std::min(kGrip, frame.width());
  const bool titleShown =
      std::any_of(screenAreas.begin(), screenAreas.end(), [&title, grip](const QRect& area) {
        const QRect shown = title.intersected(area);
        return shown.height() >= kTitleHeight / 2 && shown.width() >= grip;
      });
  qint64 shownArea = 0;
  for (const QRect& area : screenAreas) {
    const QRect shown = frame.intersected(area);
    shownArea += static_cast<qint64>(shown.width()) * shown.height();
  }
  const qint64 frameArea = static_cast<qint64>(frame.width()) * frame.height();
  return titleShown && 2 * shownArea > frameArea;
}

}  // namespace tesmora
