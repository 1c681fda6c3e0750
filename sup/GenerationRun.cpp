#include "sup/GenerationRun.h"

#include "sup/SubtitlePacket.h"

namespace tesmora {

void WriteSubpictureStream(PendingFile& stream, int count, const RoleKeyColours& keys,
                           const std::function<DrawnSubtitle(int index)>& draw) {
  for (int i = 0; i < count; ++i) {
    const DrawnSubtitle subtitle = draw(i);
    const SupPacket packet =
        EncodeSubtitlePacket(*subtitle.frame, subtitle.area, keys, subtitle.roles, i + 1,
                             subtitle.startMs, subtitle.durationMs);
    stream.write(packet.header);
    stream.write(packet.unit);
  }
}

}  // namespace tesmora
