#pragma once

#include <QStringList>
#include <span>
#include <string>
#include <utility>

#include "hdrender/HdStyle.h"
#include "hdrender/HdTarget.h"
#include "subtitles/CueLook.h"
#include "text/CueMarkup.h"

namespace tesmora {

// A cue to draw in high definition: when it shows, in ms, its decoded text
// lines with their markup, top to bottom, and the place and font its file
// asks for (empty: the style's).
struct HdCue {
  HdCue() = default;
  HdCue(long long start, long long end, QStringList cueLines, CuePlacement cuePlacement = {},
        CueFont cueFont = {})
      : startMs(start),
        endMs(end),
        lines(std::move(cueLines)),
        placement(std::move(cuePlacement)),
        font(std::move(cueFont)) {}

  long long startMs = 0;
  long long endMs = 0;
  QStringList lines;
  CuePlacement placement;
  CueFont font;
};
// How a cue that places itself is written as an ASS event: the override
// block that sets its alignment and position, and the event's margins,
// which bound the box its lines are wrapped in.
struct AssPlacement {
  std::string overrides;  // such as {\an1\pos(192,1044)}
  int marginLeft = 0;
  int marginRight = 0;
};

// The event of a placed cue on the target, drawn in a style of no margins.
// The cue's lines are aligned on its `x` (or the style's side margin or the
// centre, by its alignment) and its block stands at `y` by its alignment's
// row; a line number counts lines of the style's font from the style's
// vertical margin (0 the top line, -1 the bottom one), and without either
// the cue stands at the style's margin at the top, middle or bottom. A
// `width` is the box the lines are wrapped in, aligned as the lines are.
AssPlacement PlacedEvent(const CuePlacement& placement, int cueAlignment, const HdStyle& style,
                         const HdTarget& target);
// The override block that draws a cue in its own font on the target: its
// family, size (a fraction of the frame's height) and the flags it sets,
// over the script's style. Empty for a cue without a font of its own.
std::string CueFontBlock(const CueFont& font, const HdTarget& target);

// The ASS size of a length given in pixels at 576 lines, on the target.
double ScaledToTarget(double pixelsAt576, const HdTarget& target);

// The ASS font size of the style on the target: the DVD's em in pixels at
// 576 lines, scaled by the target's height.
double AssFontSize(const HdStyle& style, const HdTarget& target);

// An ASS colour, &H00BBGGRR (opaque).
std::string AssColour(Rgb colour);

// A time as ASS writes it, H:MM:SS.cc, rounded to the nearest centisecond;
// negative times are written as 0.
std::string AssTime(long long ms);

// One cue's text as the text of an ASS event: its lines joined by \N, its
// markup (bold, italic, underline and strike-out runs on top of the style's
// own, <font color> spans, a keypad placement) as override blocks, and every
// other character drawn literally.
std::string AssEventText(const QStringList& lines, MarkupDialect dialect, const HdStyle& style);

// A whole ASS script, in UTF-8: the frame of the target as the script's
// resolution, the style as its style "Default", and one event per cue in
// order, so that event i of the script is cue i, in its layer and led by
// its CueFontBlock. Cues that place themselves are drawn in "Placed", the
// same style without margins (PlacedEvent); a script without such cues has
// no such style.
std::string BuildAssScript(std::span<const HdCue> cues, MarkupDialect dialect, const HdStyle& style,
                           const HdTarget& target);

}  // namespace tesmora
