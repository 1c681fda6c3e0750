#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hdrender/AssScript.h"
#include "hdrender/HdStyle.h"
#include "hdrender/HdTarget.h"
#include "hdrender/StablePictures.h"
#include "text/CueMarkup.h"

namespace tesmora {

// The pictures of SRT or MicroDVD cues on the target: the cues become an ASS
// script in the style (BuildAssScript) and libass draws it, each cue at its
// own times to the millisecond. Event i of the pictures and the report is
// cue i. Throws std::runtime_error when libass cannot start.
StablePictures RenderCuePictures(std::span<const HdCue> cues, MarkupDialect dialect,
                                 const HdStyle& style, const HdTarget& target,
                                 AssShaping shaping = AssShaping::Complex);

// The same, each picture handed to `sink` as it is drawn.
PictureReport RenderCuePictures(std::span<const HdCue> cues, MarkupDialect dialect,
                                const HdStyle& style, const HdTarget& target,
                                const PictureSink& sink, AssShaping shaping = AssShaping::Complex);

// The pictures of an ASS or SSA file's text (UTF-8) on the target, drawn by
// libass as the file gives it: its resolution, styles and margins. Throws
// std::runtime_error when libass cannot read it.
StablePictures RenderAssPictures(std::string_view script, const HdTarget& target,
                                 AssShaping shaping = AssShaping::Complex);

// The same, each picture handed to `sink` as it is drawn.
PictureReport RenderAssPictures(std::string_view script, const HdTarget& target,
                                const PictureSink& sink, AssShaping shaping = AssShaping::Complex);

// The events of an ASS or SSA file already read by `renderer` that
// `forcedStyle` marks forced (empty when it names none), and when only some
// of them are, the event times that show those alone: a second renderer of
// the same script with these times tells their regions from the others'.
struct ForcedStyleEvents {
  std::vector<bool> events;         // by event
  std::vector<CueTime> aloneTimes;  // empty when no second renderer is needed
};

ForcedStyleEvents ForcedStyleEventsOf(const AssRenderer& renderer, const std::string& forcedStyle);

// The pictures of an ASS or SSA file already read by `renderer`, whose
// event times the caller may have changed. When `forcedStyle` names a style,
// the regions of its events are marked forced: `script`, the text the
// renderer read, is read a second time to draw those events alone where
// they show together with others. Throws std::runtime_error when libass
// cannot start.
PictureReport RenderAssFilePictures(AssRenderer& renderer, std::string_view script,
                                    const std::string& forcedStyle, const HdTarget& target,
                                    const PictureSink& sink,
                                    AssShaping shaping = AssShaping::Complex);

}  // namespace tesmora
