#include "app/WindowFit.h"

#include <algorithm>
#include <cmath>

namespace tesmora {
namespace {

constexpr int kTallestFrame = 576;
constexpr int kRoomBelowPreview = kDesignClientSize.height() - kDesignPreviewPlace.bottom() - 1;
constexpr int kRoomBesidePreview = kDesignClientSize.width() - kDesignPreviewPlace.width();

}  // namespace

QRect SubtitleListPlace(QSize client) {
  constexpr int kTop = kChoicesBottom;
  constexpr int kWidth = 148;
  constexpr int kMargin = 8;
  return {client.width() - kWidth - kMargin, kTop, kWidth,
          client.height() - kTop - kRoomBelowPreview};
}

QSize MinimumClientSize() {
  // The list keeps room for a few cues below the choices.
  constexpr int kSmallestList = 60;
  return {kDesignClientSize.width(),
          std::max(kDesignPreviewPlace.top() + kTallestFrame / 4, kChoicesBottom + kSmallestList) +
              kRoomBelowPreview};
}

QSize FittedClientSize(QSize available, QMargins frame) {
  const QSize room = available.shrunkBy(frame);
  return kDesignClientSize.boundedTo(room).expandedTo(MinimumClientSize());
}

QRect PreviewPlace(QSize client, QSize frame) {
  const double byHeight =
      static_cast<double>(client.height() - kDesignPreviewPlace.top() - kRoomBelowPreview) /
      kTallestFrame;
  const double byWidth =
      static_cast<double>(client.width() - kRoomBesidePreview) / kDesignPreviewPlace.width();
  const double scale = std::max(0.0, std::min(byHeight, byWidth));
  const QSize shown(static_cast<int>(std::lround(frame.width() * scale)),
                    static_cast<int>(std::lround(frame.height() * scale)));
  const int left =
      kDesignPreviewPlace.left() + (client.width() - kRoomBesidePreview - shown.width()) / 2;
  return {QPoint(left, kDesignPreviewPlace.top()), shown};
}

bool ShowsOnAScreen(const QRect& frame, const QList<QRect>& screenAreas) {
  constexpr int kTitleHeight = 20;
  constexpr int kGrip = 100;
  const QRect title(frame.topLeft(), QSize(frame.width(), kTitleHeight));
  for (const QRect& area : screenAreas) {
    const QRect shown = title.intersected(area);
    if (shown.height() >= kTitleHeight / 2 && shown.width() >= std::min(kGrip, frame.width())) {
      return true;
    }
  }
  return false;
}

}  // namespace tesmora
