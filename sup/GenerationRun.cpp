#include "sup/GenerationRun.h"

#include "sup/SubtitlePacket.h"

namespace tesmora {

void EncodeSubpictureUnits(const std::vector<Subpicture>& subpictures,
                           const std::vector<CueTime>& cues, const RoleKeyColours& keys,
                           StartDisplay start, const SubpictureDrawing& draw,
                           const PacketSink& sink) {
  for (const Subpicture& subpicture : subpictures) {
    const DrawnSubpicture drawn = draw(subpicture);
    const int first = subpicture.cues.empty() ? 0 : subpicture.cues.front();
    const long long firstStartMs = static_cast<std::size_t>(first) < cues.size()
                                       ? cues[static_cast<std::size_t>(first)].startMs
                                       : 0;
    const SupPacket packet = EncodeSubtitlePacket(
        *drawn.frame, drawn.area, keys, drawn.roles, first + 1, firstStartMs,
        SubpictureTime{subpicture.startTicks, subpicture.stopDelayUnits}, start);
    sink(packet, subpicture.startTicks);
  }
}

void WriteSupPacket(PendingFile& stream, const SupPacket& packet) {
  stream.write(packet.header);
  stream.write(packet.unit);
}

void WriteSubpictureStream(PendingFile& stream, const std::vector<Subpicture>& subpictures,
                           const std::vector<CueTime>& cues, const RoleKeyColours& keys,
                           const SubpictureDrawing& draw) {
  EncodeSubpictureUnits(
      subpictures, cues, keys, StartDisplay::Normal, draw,
      [&stream](const SupPacket& packet, std::uint32_t) { WriteSupPacket(stream, packet); });
}

}  // namespace tesmora
