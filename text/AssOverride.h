#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

#include "text/MarkupToken.h"

namespace tesmora {

// Reads the markup of ASS subtitles that SRT files carry, at `at`: an
// override block "{\...}" whose commands run in order, or a text escape as
// ReadTextEscape reads it. Braces without a backslash, and a block without
// its closing brace, are not markup.
std::optional<MarkupToken> ReadAssMarkup(const QString& line, qsizetype at);

// Reads the text escapes of ASS subtitles that SRT and MicroDVD files
// converted from them carry, at `at`: \N (line break) and \h (non-breaking
// space). A lower-case \n and any other backslash are text.
std::optional<MarkupToken> ReadTextEscape(const QString& line, qsizetype at);

// What one override command does, given without its backslash: \i, \b, \u,
// \s with 0 or 1 (\b also with a weight, 600 and more being bold) switch
// styles, \r resets them, \an1..\an9 and the legacy \a codes place the cue;
// any other command is removed without an effect.
std::vector<MarkupAction> OverrideCommandActions(QStringView command);

}  // namespace tesmora
