#pragma once

#include <QString>
#include <cstddef>

#include "render/OverlongCue.h"
#include "render/PreparedCue.h"

namespace tesmora {

// The way a refusal of a line too wide names to have long lines broken:
// none where they are broken already, the converter's option, or the
// window's box.
enum class WrapAdvice { None, WrapOption, WrapBox };

// The message refusing a cue that cannot be drawn whole. A line too wide
// gives OverlongCueMessage of the cue's lines as drawn, its hint chosen by
// `subtitlesLoaded`, then the way to wrap long lines `advice` names; too
// many lines for the frame give the cue's number, counted from 1, its line
// count as drawn and the way out.
QString UnfitCueMessage(const PreparedCue& cue, CueFault fault, std::size_t number,
                        bool subtitlesLoaded, WrapAdvice advice);

}  // namespace tesmora
