#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tesmora::testing {

// Builds the bytes of a title set's IFO file with the fields the palette
// load reads: the identifier, the program chain table's sector, the first
// chain's start, its colour lookup table and the video attributes.
class IfoBuilder {
 public:
  IfoBuilder() { entries.fill(0); }

  std::string id = "DVDVIDEO-VTS";
  std::uint32_t tableSector = 1;
  std::uint32_t chainStart = 0x10;
  std::array<std::uint32_t, 16> entries;
  std::uint8_t attributeByte = 0x50;  // PAL

  std::uint64_t colourTableAt() const {
    return std::uint64_t{tableSector} * 2048 + chainStart + 164;
  }

  std::vector<std::uint8_t> bytes() const {
    std::vector<std::uint8_t> file(static_cast<std::size_t>(colourTableAt() + 64 + 100), 0);
    std::copy(id.begin(), id.end(), file.begin());
    Put32(file, 204, tableSector);
    Put32(file, std::uint64_t{tableSector} * 2048 + 12, chainStart);
    for (std::size_t n = 0; n < 16; ++n) {
      Put32(file, colourTableAt() + 4 * n, entries[n]);
    }
    file[512] = attributeByte;
    return file;
  }

  static void Put32(std::vector<std::uint8_t>& file, std::uint64_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      file[static_cast<std::size_t>(at) + static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
  }

  static void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
};

}  // namespace tesmora::testing
