#pragma once

#include <ass/ass.h>

#include <vector>

#include "hdrender/RgbaRegion.h"

namespace tesmora {

// The most regions one frame's picture is given in: a cue at the top and one
// at the bottom shown together stay apart, anything more is joined.
inline constexpr int kMostRegions = 2;

// Composites libass's image list, in order, into at most kMostRegions
// regions. Images whose rows overlap share a region (so the lines, outline
// and shadow of one cue stay together); when more groups remain, the two
// nearest each other are joined until two are left. Each image is its
// coverage bitmap times its colour's alpha (stored inverted: 0 is opaque)
// laid over what is below. Regions come top to bottom; an empty list gives
// none.
std::vector<RgbaRegion> CompositeImages(const ASS_Image* images);

}  // namespace tesmora
