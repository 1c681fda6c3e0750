#include "sup/SubtitlePacket.h"

#include <cstdio>

#include "sup/EncodeFields.h"

namespace tesmora {

std::string FormatSubtitleTime(long long ms) {
  const char* sign = ms < 0 ? "-" : "";
  const unsigned long long total =
      ms < 0 ? 0ULL - static_cast<unsigned long long>(ms) : static_cast<unsigned long long>(ms);
  char text[48];
  std::snprintf(text, sizeof text, "%s%02llu:%02llu:%02llu,%03llu", sign, total / 3600000,
                total / 60000 % 60, total / 1000 % 60, total % 1000);
  return text;
}

SubtitleError::SubtitleError(int number, long long startMs, const std::string& reason)
    : std::runtime_error("Subtitle " + std::to_string(number) + ", starting at " +
                         FormatSubtitleTime(startMs) + ": " + reason) {}

SupPacket EncodeSubtitlePacket(const FrameBitmap& frame, const EncodeArea& drawnArea,
                               const RoleKeyColours& keys, const RolePaletteIndices& roles,
                               int number, long long startMs, long long durationMs,
                               StartDisplay start) {
  const std::optional<EncodeArea> area = CutToFrame(drawnArea, frame.height());
  if (!area) {
    throw SubtitleError(number, startMs,
                        "it lies entirely outside the picture and would be invisible; "
                        "choose a lower position for the subtitles");
  }
  try {
    return BuildPacket(EncodeFields(frame, *area, keys), *area, startMs, durationMs, roles, start);
  } catch (const PacketError& error) {
    throw SubtitleError(number, startMs, error.what());
  }
}

}  // namespace tesmora
