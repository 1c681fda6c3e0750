#include "sup/GenerationRun.h"

#include "sup/SubtitlePacket.h"

namespace tesmora {

void EncodeSubpictureUnits(int count, const RoleKeyColours& keys, StartDisplay start,
                           const std::function<DrawnSubtitle(int index)>& draw,
                           const PacketSink& sink) {
  for (int i = 0; i < count; ++i) {
    const DrawnSubtitle subtitle = draw(i);
    const SupPacket packet =
        EncodeSubtitlePacket(*subtitle.frame, subtitle.area, keys, subtitle.roles, i + 1,
                             subtitle.startMs, subtitle.durationMs, start);
    // The packet was built, so its start time fits a time stamp.
    sink(packet, PresentationTimeStamp(subtitle.startMs));
  }
}

void WriteSupPacket(PendingFile& stream, const SupPacket& packet) {
  stream.write(packet.header);
  stream.write(packet.unit);
}

void WriteSubpictureStream(PendingFile& stream, int count, const RoleKeyColours& keys,
                           const std::function<DrawnSubtitle(int index)>& draw) {
  EncodeSubpictureUnits(
      count, keys, StartDisplay::Normal, draw,
      [&stream](const SupPacket& packet, std::uint32_t) { WriteSupPacket(stream, packet); });
}

}  // namespace tesmora
