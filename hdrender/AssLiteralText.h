#pragma once

#include <QString>

namespace tesmora {

// Text written into an ASS event so that libass draws it exactly: braces
// become the escapes \{ and \}, so they open no override block, and a
// backslash that libass would read with the next character (\N, \n, \h, \{,
// \}), or that ends the text, is followed by an invisible word joiner, which
// keeps the backslash and the character after it as text.
QString AssLiteralText(const QString& text);

}  // namespace tesmora
