#pragma once

#include <QString>

namespace tesmora {

// How many characters of a server's text a message shows.
inline constexpr qsizetype kShownServerCharacters = 200;

// A server's text (a page, a status line, a network error) as one line of a
// message: its first `limit` characters, with each control character (CR,
// LF, tab, ...) shown as its visible symbol from the Control Pictures block,
// so that nothing the server sends breaks the message into more lines.
QString ShownServerText(const QString& text, qsizetype limit = kShownServerCharacters);

}  // namespace tesmora
