#pragma once

#include <QString>
#include <optional>

#include "text/MarkupToken.h"

namespace tesmora {

// Reads a MicroDVD control code at `at`: {y:...} styles its line and
// {Y:...} the whole cue with the letters i, b, u and s (separated by commas
// or not); {c:...}, {f:...}, {s:...}, {p:...}, {h:...} and their capital
// forms (colour, font, size, position, character set) are removed, as is a
// {y:...} whose value holds anything else.
std::optional<MarkupToken> ReadMicroDvdCode(const QString& line, qsizetype at);

}  // namespace tesmora
