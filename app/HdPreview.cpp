#include "app/HdPreview.h"

#include <algorithm>
#include <span>

#include "hdrender/HdPictures.h"

namespace tesmora {

std::vector<RgbaRegion> HdCueRegions(const std::vector<std::string>& lines,
                                     const CuePlacement& placement, const TextSource& source,
                                     long long durationMs, const HdStyle& style,
                                     const HdTarget& target) {
  const long long end = std::max<long long>(durationMs, 1);
  const HdCue cue{0, end, CueLineTexts(lines), placement};
  StablePictures drawn = RenderCuePictures(std::span(&cue, 1), source.dialect, style, target);
  const long long middle = end / 2;
  for (TimedPicture& picture : drawn.pictures) {
    if (picture.startMs <= middle && middle < picture.endMs) {
      return std::move(picture.regions);
    }
  }
  return drawn.pictures.empty() ? std::vector<RgbaRegion>{}
                                : std::move(drawn.pictures.front().regions);
}

QImage HdPreviewPicture(const QImage& background, QSize frame,
                        const std::vector<RgbaRegion>& regions) {
  QImage picture = background.isNull()
                       ? QImage(frame, QImage::Format_RGB888)
                       : background.scaled(frame, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB888);
  if (background.isNull()) {
    picture.fill(Qt::black);
  }
  for (const RgbaRegion& region : regions) {
    // Only the part on the frame is drawn; libass crops to it already, and a
    // region is never trusted to.
    const int left = std::max(region.x, 0);
    const int top = std::max(region.y, 0);
    const int right = std::min(region.x + region.width, frame.width());
    const int bottom = std::min(region.y + region.height, frame.height());
    if (region.pixels.size() < static_cast<std::size_t>(region.width) * region.height) {
      continue;
    }
    for (int y = top; y < bottom; ++y) {
      uchar* row = picture.scanLine(y);
      for (int x = left; x < right; ++x) {
        const Rgba& in = region.pixel(x - region.x, y - region.y);
        uchar* out = row + static_cast<std::ptrdiff_t>(x) * 3;
        const int alpha = in.a;
        const int colour[3] = {in.r, in.g, in.b};
        for (int c = 0; c < 3; ++c) {
          out[c] = static_cast<uchar>((colour[c] * alpha + out[c] * (255 - alpha) + 127) / 255);
        }
      }
    }
  }
  return picture;
}

}  // namespace tesmora
