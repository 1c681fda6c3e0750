#pragma once

#include <QString>
#include <optional>

#include "text/MarkupToken.h"

namespace tesmora {

// Reads an HTML-like formatting tag of SRT and WebVTT files at `at`, in any
// letter case: <i>, <b>, <u>, <s> and their closing forms switch italic,
// bold, underline and strike-out; <font ...>, <c.class>, <v Name>, <lang ...>,
// <ruby>, <rt>, <span ...> and their closing forms are removed. Anything
// else, such as "a < b", "<3" or "<Title>", is not a tag.
std::optional<MarkupToken> ReadSrtTag(const QString& line, qsizetype at);

}  // namespace tesmora
