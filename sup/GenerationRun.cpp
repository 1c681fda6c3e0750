#include "sup/GenerationRun.h"

#include "sup/SubtitlePacket.h"
#include "sup/SupWriter.h"

namespace tesmora {

void WriteSubpictureStream(const std::filesystem::path& streamPath, int count,
                           const RoleKeyColours& keys,
                           const std::function<DrawnSubtitle(int index)>& draw) {
  SupWriter writer;
  writer.open(streamPath);
  for (int i = 0; i < count; ++i) {
    const DrawnSubtitle subtitle = draw(i);
    writer.writePacket(EncodeSubtitlePacket(*subtitle.frame, subtitle.area, keys, subtitle.roles,
                                            i + 1, subtitle.startMs, subtitle.durationMs));
  }
  writer.close();
}

}  // namespace tesmora
