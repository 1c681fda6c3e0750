#pragma once

// Packets timed in milliseconds, as the tests write them: the encoder takes
// the times the timeline planned, in ticks; these give the ticks of a start
// and a duration first. A time that does not fit throws as the encoder does.
#include "sup/SubtitlePacket.h"
#include "sup/SupPacket.h"

namespace tesmora {

inline SupPacket BuildPacket(const PixelData& pixels, const EncodeArea& area, long long startMs,
                             long long durationMs, const RolePaletteIndices& roles,
                             StartDisplay start = StartDisplay::Normal) {
  const SubpictureTime time{PresentationTimeStamp(startMs), StopDelayTicks(durationMs)};
  return BuildPacket(pixels, area, time, roles, start);
}

inline SupPacket EncodeSubtitlePacket(const FrameBitmap& frame, const EncodeArea& drawnArea,
                                      const RoleKeyColours& keys, const RolePaletteIndices& roles,
                                      int number, long long startMs, long long durationMs,
                                      StartDisplay start = StartDisplay::Normal) {
  SubpictureTime time;
  try {
    time = {PresentationTimeStamp(startMs), StopDelayTicks(durationMs)};
  } catch (const PacketError& error) {
    throw SubtitleError(number, startMs, error.what());
  }
  return EncodeSubtitlePacket(frame, drawnArea, keys, roles, number, startMs, time, start);
}

}  // namespace tesmora
