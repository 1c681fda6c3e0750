#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/MarkupDialect.h"
#include "text/StyledLine.h"

namespace tesmora {

// A cue's text as styled lines, top to bottom.
struct CueText {
  std::vector<StyledLine> lines;
  int alignment = 0;          // 0 when the cue's markup does not place it, else 1..9 as on a keypad
  QStringList removedMarkup;  // markup taken out without an effect, as written, in order
};

// Reads the markup of a cue's decoded text lines (already split at the
// file's line breaks or MicroDVD's "|"). Style tags and codes hold until
// they are switched off or the cue ends; the runs carry their flags only.
// A line without markup comes out as one run holding the very same text.
// \N in an SRT or MicroDVD cue starts a new line and \h is a non-breaking
// space; a lower-case \n is text. A line whose text was nothing but
// markup and blanks is left out, so "{\an8}" above the text adds no line;
// an empty line of the file stays. The first placement of a cue counts;
// later ones are listed with the other markup that has no effect: colours,
// fonts, sizes, positions and the like, which a four-colour subpicture cannot
// show.
CueText ParseCueMarkup(const QStringList& lines, MarkupDialect dialect);

}  // namespace tesmora
