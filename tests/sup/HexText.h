#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tesmora::testing {

// Bytes as upper-case hexadecimal pairs separated by spaces ("03 FC 00 00"),
// the way format tables write them, so a failing comparison reads like one.
inline std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) {
      text += ' ';
    }
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

}  // namespace tesmora::testing
