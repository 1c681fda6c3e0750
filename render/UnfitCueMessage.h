#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>

#include "render/OverlongCue.h"
#include "render/PreparedCue.h"

namespace tesmora {

// The way a refusal of a line too wide names to have long lines broken:
// none where they are broken already, the converter's option, or the
// window's box.
enum class WrapAdvice { None, WrapOption, WrapBox };

// "The string " CR line1 CR line2 CR "is too long.", CR being code 13.
QString TooLongMessage(const QString& line1, const QString& line2);

// The line-fit check's message for an entry that does not fit: the long one
// before any load has passed the check (asking to correct the file), the
// short one afterwards (asking for a smaller font).
QString OverlongEntryMessage(const QString& line1, const QString& line2, bool subtitlesLoaded);

// The same for a cue of any number of lines, shown without markup: "The
// string " CR, each line followed by CR, then "is too long." and the hint.
// One or two lines give the very text of OverlongEntryMessage.
QString OverlongCueMessage(const QStringList& lines, bool subtitlesLoaded);

// The message refusing a cue that cannot be drawn whole. A line too wide
// gives OverlongCueMessage of the cue's lines as drawn, its hint chosen by
// `subtitlesLoaded`, then the way to wrap long lines `advice` names; too
// many lines for the frame give the cue's number, counted from 1, its line
// count as drawn and the way out.
QString UnfitCueMessage(const PreparedCue& cue, CueFault fault, std::size_t number,
                        bool subtitlesLoaded, WrapAdvice advice);

}  // namespace tesmora
