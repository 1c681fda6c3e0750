#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <stdexcept>
#include <string>

namespace tesmora {

// What the palette load takes from a title set's IFO file: the 16 colour
// lookup entries of program chain 1 and the video attribute word.
struct IfoPaletteData {
  std::array<std::uint32_t, 16> entries{};
  std::uint16_t videoAttributes = 0;

  // Bit 12 of the attribute word: 1 for PAL, 0 for NTSC.
  bool isPal() const { return (videoAttributes & 0x1000) != 0; }
};

// A file that is not what the palette load needs. The text is the message
// the user sees.
class IfoFormatError : public std::runtime_error {
 public:
  explicit IfoFormatError(const std::string& text) : std::runtime_error(text) {}
};

// Reads the palette of program chain 1: the start sector S of the program
// chain table at byte 204, the chain's start P at S * 2048 + 12, its 16
// entries at S * 2048 + P + 164, and the video attributes at byte 512, all
// big-endian. Throws IoError when the file cannot be opened or read, and
// IfoFormatError when it is not a title set's IFO ("DVDVIDEO-VTS") or ends
// before the positions it names.
IfoPaletteData ReadIfoPalette(const std::filesystem::path& path);

// The same for a file already open as a stream; `fileName` names it in
// messages.
IfoPaletteData ReadIfoPaletteFrom(std::istream& file, const std::string& fileName);

}  // namespace tesmora
