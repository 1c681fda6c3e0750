#include "output/VobSubIndex.h"

#include <cstdio>

namespace tesmora {
namespace {

bool IsLanguageCode(const std::string& code) {
  return code.size() == 2 && code[0] >= 'a' && code[0] <= 'z' && code[1] >= 'a' && code[1] <= 'z';
}

std::string PaletteLine(const RgbPalette& palette) {
  std::string line = "palette: ";
  for (std::size_t n = 0; n < palette.size(); ++n) {
    line += (n == 0 ? "" : ", ") + RgbHex(palette[n]);
  }
  return line + '\n';
}

}  // namespace

std::string VobSubTimestamp(std::uint32_t pts) {
  const std::uint64_t ms = pts / 90;
  char text[32];
  std::snprintf(text, sizeof text, "%02llu:%02llu:%02llu:%03llu",
                static_cast<unsigned long long>(ms / 3600000),
                static_cast<unsigned long long>(ms / 60000 % 60),
                static_cast<unsigned long long>(ms / 1000 % 60),
                static_cast<unsigned long long>(ms % 1000));
  return text;
}

std::string VobSubIndexText(const VobSubTrack& track, std::span<const VobSubIndexEntry> entries) {
  if (track.frameHeight != 576 && track.frameHeight != 480) {
    throw std::invalid_argument("frame height must be 576 or 480");
  }
  if (!IsLanguageCode(track.language)) {
    throw std::invalid_argument("language must be two lower-case letters");
  }
  std::string text =
      "# VobSub index file, v7 (do not modify this line!)\n"
      "size: 720x" +
      std::to_string(track.frameHeight) +
      "\n"
      "org: 0, 0\n"
      "scale: 100%, 100%\n"
      "alpha: 100%\n"
      "smooth: OFF\n"
      "fadein/out: 0, 0\n"
      "align: OFF at LEFT TOP\n"
      "time offset: 0\n"
      "forced subs: " +
      (track.forced ? "ON" : "OFF") + "\n" + PaletteLine(track.palette) +
      "custom colors: OFF, tridx: 0000, colors: 000000, 000000, 000000, 000000\n"
      "\n"
      "langidx: 0\n"
      "id: " +
      track.language + ", index: 0\n";
  for (const VobSubIndexEntry& entry : entries) {
    char position[16];
    std::snprintf(position, sizeof position, "%09llx",
                  static_cast<unsigned long long>(entry.filePosition));
    text += "timestamp: " + VobSubTimestamp(entry.pts) + ", filepos: " + position + '\n';
  }
  return text;
}

}  // namespace tesmora
