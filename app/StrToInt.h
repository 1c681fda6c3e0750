#pragma once

#include <QString>

namespace tesmora {

// A decimal integer as the window's lists and boxes hold it (leading and
// trailing blanks allowed, an optional sign). Throws PlatformError
// "'<text>' is not a valid integer value" for anything else.
int StrToInt(const QString& text);

}  // namespace tesmora
