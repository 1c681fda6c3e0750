#pragma once

#include <QImage>
#include <QSize>
#include <string>
#include <vector>

#include "hdrender/HdStyle.h"
#include "hdrender/HdTarget.h"
#include "hdrender/RgbaRegion.h"
#include "render/PreparedCue.h"
#include "subtitles/CueLook.h"

namespace tesmora {

// The regions libass draws for one cue's lines at its placement on the
// target, as a Blu-ray stream shows them halfway through a cue of
// `durationMs`: a cue that fades in is seen there at its full strength.
// Empty when nothing is drawn.
std::vector<RgbaRegion> HdCueRegions(const std::vector<std::string>& lines,
                                     const CuePlacement& placement, const TextSource& source,
                                     long long durationMs, const HdStyle& style,
                                     const HdTarget& target);

// The preview of a high-definition frame of `frame` pixels: the background
// stretched to the frame, smoothly, with the regions laid over it by their
// alpha. 24-bit RGB.
QImage HdPreviewPicture(const QImage& background, QSize frame,
                        const std::vector<RgbaRegion>& regions);

}  // namespace tesmora
