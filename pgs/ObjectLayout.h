#pragma once

#include <span>
#include <vector>

#include "pgs/RgbaPicture.h"

namespace tesmora::pgs {

// A picture to show and where its top-left pixel goes on the video; a
// forced one is shown even when the viewer has subtitles off.
struct PlacedPicture {
  int x = 0;
  int y = 0;
  RgbaPicture picture;
  bool forced = false;
};

// The objects a display set shows for the given regions: each cut to the
// video frame and to its visible (non-transparent) pixels, widened to the
// smallest object side inside the frame, and all merged into one object,
// drawn in order, when there are more than two or two that overlap (their
// windows could not be told apart). Regions with nothing visible on the
// frame, or whose pixels do not match their size, are left out, so the
// result may be empty. A merged object is forced
// when any of its regions is, so forced text is never lost.
std::vector<PlacedPicture> LayOutObjects(std::span<const PlacedPicture* const> regions,
                                         int video_width, int video_height);
std::vector<PlacedPicture> LayOutObjects(std::span<const PlacedPicture> regions, int video_width,
                                         int video_height);
// The same, taking the regions' pixels: an object that is one region cut
// to its visible box keeps that region's pixels, with no copy.
std::vector<PlacedPicture> LayOutObjects(std::vector<PlacedPicture>&& regions, int video_width,
                                         int video_height);

}  // namespace tesmora::pgs
