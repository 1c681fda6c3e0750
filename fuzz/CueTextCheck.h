#pragma once

#include <QStringList>

#include "text/CueMarkup.h"

namespace tesmora::fuzz {

// Reads the markup of `lines` and stops the run when the result breaks a
// property: every line holds runs that are not empty (an empty line one
// empty run) and differ in style from their neighbours; the placement is 0
// or a keypad digit; markup only takes characters away; and text without
// any markup character, or read literally, comes out exactly as written
// and unstyled.
CueText CheckCueMarkup(const QStringList& lines, MarkupDialect dialect);

}  // namespace tesmora::fuzz
