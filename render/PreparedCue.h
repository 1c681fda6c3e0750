#pragma once

#include <QStringList>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "render/LineMeasure.h"
#include "render/SubtitleStyle.h"
#include "subtitles/CueLook.h"
#include "text/CueMarkup.h"
#include "text/StyledLine.h"

namespace tesmora {

// How the UTF-8 text lines of the loaded cues are to be read.
struct TextSource {
  MarkupDialect dialect = MarkupDialect::Srt;
  // True: a line too wide for the frame is broken where lines may break
  // (WrapLine) into lines that fit; a single word too wide still leaves it
  // too wide.
  bool wrap = false;
  // True: the lines are the glyph codes of a symbol font (U+F000 + byte, an
  // 8-bit file read for the SYMBOL charset), drawn as written: they hold no
  // markup, and a code the font lacks is drawn as the byte's own character.
  bool symbol = false;
};

// A cue to draw on a key frame: its UTF-8 text lines, top to bottom, and
// the placement and drawing its file asks for (empty for most formats).
struct CueToDraw {
  CueToDraw() = default;
  CueToDraw(std::vector<std::string> cueLines, CueLook cueLook = {})
      : lines(std::move(cueLines)), look(std::move(cueLook)) {}

  std::vector<std::string> lines;
  CueLook look;
};

// A cue's lines read for markup and measured in the style.
struct PreparedCue {
  std::vector<StyledLine> lines;
  std::vector<LineMeasure> measures;
  int alignment = 0;  // 0, or 1..9 as on a keypad
  // The place the cue's file asks for; empty for the style's place.
  CuePlacement placement = {};
  QStringList removedMarkup;
  // When wrapping found a line needing more lines than any frame holds and
  // left it whole: the most lines it was allowed. 0 otherwise.
  std::size_t wrappedPast = 0;
  // The style the cue's own font makes of the window's, when it has one;
  // its lines are measured and drawn in it.
  std::optional<SubtitleStyle> ownStyle;

  // Whether every line is narrower than the line limit.
  bool fitsWidth() const;
  // The lines as drawn, without markup.
  QStringList plainLines() const;
};

// The most characters of a line that are read for markup. No frame
// shows more than a few thousand characters, even wrapped into its most
// lines, so a longer line cannot be drawn however much of it is markup: it
// is taken as written, to be refused as too wide (or too tall when wrapped),
// without reading markup that would take time and memory for nothing.
inline constexpr qsizetype kLongestReadLine = qsizetype{1} << 22;

// Whether any of the lines is longer than kLongestReadLine.
bool AnyLineTooLongToRead(const QStringList& lines);

// The cue's UTF-8 lines as characters.
QStringList CueLineTexts(const std::vector<std::string>& lines);

// Reads a cue's lines, wrapped when the source asks for it, without
// measuring them: `measures` stays empty. Symbol text is drawn as written:
// its codes pick glyphs, they hold no markup. A placement whose width is
// narrower than the frame's lines wraps them in that box, asked or not.
PreparedCue ReadCueText(const std::vector<std::string>& lines, const TextSource& source,
                        const SubtitleStyle& style, const CuePlacement& placement = {});

// Reads and measures a cue's lines (ReadCueText, then each line
// measured in the style).
PreparedCue PrepareCue(const std::vector<std::string>& lines, const TextSource& source,
                       const SubtitleStyle& style, const CuePlacement& placement = {});

// The window's style with what a cue's font sets in place of its own: the
// family, the flags, and the size whose cell (ascent and descent) is the
// font's height in a frame `frameHeight` rows high.
SubtitleStyle StyleOfCueFont(const SubtitleStyle& style, const CueFont& font, int frameHeight);

// PrepareCue as the drawing prepares a cue: in StyleOfCueFont, which it
// keeps as its own style, when `look` gives a font; else in `style`.
PreparedCue PrepareCueInItsFont(const std::vector<std::string>& lines, const CueLook& look,
                                const TextSource& source, const SubtitleStyle& style,
                                int frameHeight);

// PrepareCue for each of the cues shown together, lower layers first and
// cues of one layer in the order given; a cue with a font of its own is
// read and measured in StyleOfCueFont, which it keeps.
std::vector<PreparedCue> PrepareCues(std::span<const CueToDraw> cues, const TextSource& source,
                                     const SubtitleStyle& style, int frameHeight = 576);

// The text the subtitle list shows for a cue: its lines joined by " | ".
QString CueListText(const std::vector<std::string>& lines);

}  // namespace tesmora
