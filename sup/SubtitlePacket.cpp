#include "sup/SubtitlePacket.h"

#include "sup/EncodeFields.h"

namespace tesmora {

namespace {

// Cuts the band to a frame of `height` rows, encodes it with encode(area)
// and builds its packet with `build`.
template <typename Encode, typename Build>
SupPacket EncodeCutBand(int height, const EncodeArea& drawnArea, int number, long long startMs,
                        const Encode& encode, const Build& build) {
  const std::optional<EncodeArea> area = CutToFrame(drawnArea, height);
  if (!area) {
    throw SubtitleError(number, startMs,
                        "it lies entirely outside the picture and would be invisible; "
                        "choose a lower position for the subtitles");
  }
  try {
    return build(encode(*area), *area);
  } catch (const PacketError& error) {
    throw SubtitleError(number, startMs, error.what());
  }
}

}  // namespace

SupPacket EncodeSubtitlePacket(const FrameBitmap& frame, const EncodeArea& drawnArea,
                               const RoleKeyColours& keys, const RolePaletteIndices& roles,
                               int number, long long startMs, SubpictureTime time,
                               StartDisplay start) {
  return EncodeCutBand(
      frame.height(), drawnArea, number, startMs,
      [&](const EncodeArea& area) { return EncodeFields(frame, area, keys); },
      [&](const PixelData& pixels, const EncodeArea& area) {
        return BuildPacket(pixels, area, time, roles, start);
      });
}

SupPacket EncodeSubtitlePacket(const CodeFrame& frame, const EncodeArea& drawnArea,
                               const RolePaletteIndices& roles, int number, long long startMs,
                               SubpictureTime time, StartDisplay start) {
  return EncodeCutBand(
      frame.height(), drawnArea, number, startMs,
      [&](const EncodeArea& area) { return EncodeFields(frame, area); },
      [&](const PixelData& pixels, const EncodeArea& area) {
        return BuildPacket(pixels, area, time, roles, start);
      });
}

}  // namespace tesmora
