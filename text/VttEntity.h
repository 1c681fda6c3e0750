#pragma once

#include <QString>
#include <optional>

#include "text/MarkupToken.h"

namespace tesmora {

// Reads a character reference of WebVTT cue text at `at`: &amp; &lt; &gt;
// &nbsp; &lrm; and &rlm; stand for the character they name. They are read
// with the markup, not before it, so that "&lt;i&gt;" is drawn as the text
// "<i>" rather than read as a tag. Any other "&" is text.
std::optional<MarkupToken> ReadVttEntity(const QString& line, qsizetype at);

}  // namespace tesmora
