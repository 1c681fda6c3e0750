#include "output/GenerationRun.h"

#include "sup/SubtitlePacket.h"

namespace tesmora {

SupPacket EncodeSubpictureUnit(const Subpicture& subpicture, const std::vector<CueTime>& cues,
                               const RoleKeyColours& keys, StartDisplay start,
                               const SubpictureDrawing& draw) {
  const DrawnSubpicture drawn = draw(subpicture);
  const int first = subpicture.cues.empty() ? 0 : subpicture.cues.front();
  const long long firstStartMs = static_cast<std::size_t>(first) < cues.size()
                                     ? cues[static_cast<std::size_t>(first)].startMs
                                     : 0;
  const SubpictureTime time{subpicture.startTicks, subpicture.stopDelayUnits};
  if (drawn.codeFrame != nullptr) {
    return EncodeSubtitlePacket(*drawn.codeFrame, drawn.area, drawn.roles, first + 1, firstStartMs,
                                time, start);
  }
  return EncodeSubtitlePacket(*drawn.frame, drawn.area, keys, drawn.roles, first + 1, firstStartMs,
                              time, start);
}

void EncodeSubpictureUnits(const std::vector<Subpicture>& subpictures,
                           const std::vector<CueTime>& cues, const RoleKeyColours& keys,
                           StartDisplay start, const SubpictureDrawing& draw,
                           const PacketSink& sink) {
  for (const Subpicture& subpicture : subpictures) {
    sink(EncodeSubpictureUnit(subpicture, cues, keys, start, draw), subpicture.startTicks);
  }
}

void WriteSupPacket(PendingFile& stream, const SupPacket& packet) {
  stream.write(packet.header);
  stream.write(packet.unit);
}

}  // namespace tesmora
