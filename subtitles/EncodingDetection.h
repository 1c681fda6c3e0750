#pragma once

#include <string>
#include <string_view>

namespace tesmora {

// Finds the Unicode encoding of a subtitle file from its bytes: a byte-order
// mark decides (UTF-8, UTF-16LE, UTF-16BE); without one, ASCII-heavy UTF-16 is
// known by its zero bytes, and text with at least one well-formed UTF-8
// multi-byte sequence and no more ill-formed pieces than those is UTF-8: a
// few stray bytes in UTF-8 text leave it UTF-8, to be replaced by U+FFFD
// and reported, instead of turning all of it into the wrong letters. Returns the iconv name of the
// encoding, or an empty string when the bytes are 8-bit text in some code page (pure ASCII
// included, which reads the same in every one).
std::string DetectUnicodeEncoding(std::string_view fileBytes);

}  // namespace tesmora
