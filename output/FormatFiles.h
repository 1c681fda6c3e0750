#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/RgbHex.h"
#include "files/PendingFile.h"
#include "output/OutputFileSet.h"
#include "output/VobSubIndex.h"
#include "output/VobSubWriter.h"
#include "sup/SupPacket.h"

namespace tesmora {

// The formats a conversion writes besides the help text.
struct OutputFormats {
  bool sup = true;      // STEM.sup, the subpicture stream
  bool vobsub = false;  // STEM.idx and STEM.sub, the VobSub pair
  bool rgb = false;     // STEM.rgb, the palette for dvdauthor

  friend bool operator==(const OutputFormats&, const OutputFormats&) = default;
};

// The files of the chosen formats, added to one output set so that they
// replace earlier ones together: STEM.sup, STEM.idx, STEM.sub and STEM.rgb,
// each if chosen, in this order. Both front ends write through it.
class FormatFiles {
 public:
  // `base` is the folder and the stem, without an extension; `track` says
  // what the VobSub index tells of the units, and holds the colours the
  // .rgb palette lists.
  FormatFiles(OutputFileSet& outputs, const std::string& base, const OutputFormats& formats,
              const VobSubTrack& track);

  // Appends one encoded unit that starts at `pts` (90 kHz ticks) to every
  // chosen format. Throws OutputFileError.
  void add(const SupPacket& packet, std::uint32_t pts);

  // Writes what is known only once every unit is added: the VobSub index
  // and the palette. Throws OutputFileError.
  void finish();

 private:
  PendingFile* stream_ = nullptr;
  PendingFile* index_ = nullptr;
  std::optional<VobSubWriter> vobsub_;
  PendingFile* palette_ = nullptr;
  RgbPalette colours_{};
};

}  // namespace tesmora
