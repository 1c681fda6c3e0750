#include "output/FormatFiles.h"

#include "output/DvdauthorPalette.h"
#include "output/GenerationRun.h"

namespace tesmora {

FormatFiles::FormatFiles(OutputFileSet& outputs, const std::string& base,
                         const OutputFormats& formats, const VobSubTrack& track)
    : colours_(track.palette) {
  if (formats.sup) {
    stream_ = &outputs.add(base + ".sup");
  }
  if (formats.vobsub) {
    index_ = &outputs.add(base + ".idx");
    vobsub_.emplace(outputs.add(base + ".sub"), track);
  }
  if (formats.rgb) {
    palette_ = &outputs.add(base + ".rgb");
  }
}

void FormatFiles::add(const SupPacket& packet, std::uint32_t pts) {
  if (stream_ != nullptr) {
    WriteSupPacket(*stream_, packet);
  }
  if (vobsub_) {
    vobsub_->add(pts, packet.unit);
  }
}

void FormatFiles::finish() {
  if (index_ != nullptr) {
    index_->write(vobsub_->indexText());
  }
  if (palette_ != nullptr) {
    palette_->write(DvdauthorPaletteText(colours_));
  }
}

}  // namespace tesmora
