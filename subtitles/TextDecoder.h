#pragma once

#include <string>
#include <string_view>

namespace tesmora {

// The iconv name of the code page a character set reads its bytes in, or
// nullptr for SYMBOL, whose bytes pick glyphs directly.
const char* CodePageOfCharset(int charset);

// Turns the undecoded 8-bit bytes of a subtitle line into UTF-8 text, in the
// code page of a character set: every step after reading a file sees
// Unicode only. Bytes the code page cannot decode become U+FFFD; decoding
// never fails. SYMBOL maps byte b to U+F000 + b, the
// private-use range where symbol fonts keep their glyphs; which of those a
// font really has is decided when drawing (SymbolTextForFont).
class TextDecoder {
 public:
  explicit TextDecoder(int charset);
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  std::string decode(std::string_view bytes) const;
  // As above, adding the number of U+FFFD put in for undecodable bytes to
  // `replacements`.
  std::string decode(std::string_view bytes, int& replacements) const;

  // The iconv name of the code page the bytes are read in; empty for SYMBOL,
  // and when iconv does not know the code page and the bytes are read as
  // Latin-1, where every byte is a character.
  const std::string& codePage() const { return codePage_; }

 private:
  bool symbol_;
  void* converter_;         // iconv_t, or nullptr when the code page is unknown here
  bool asciiAsIs_ = false;  // whether the code page reads every ASCII byte as itself
  std::string codePage_;
};

}  // namespace tesmora
