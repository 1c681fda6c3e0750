#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "files/PendingFile.h"
#include "output/VobSubIndex.h"

namespace tesmora {

// Writes a VobSub pair one unit at a time: each unit's packs go into the
// .sub file as soon as it is added, so a run holds no more than one unit;
// the index, which names every unit's position, is made at the end.
class VobSubWriter {
 public:
  VobSubWriter(PendingFile& sub, VobSubTrack track);

  // Appends the packs of one unit that starts at `pts` (90 kHz ticks).
  // Throws OutputFileError.
  void add(std::uint32_t pts, std::span<const std::uint8_t> unit);

  // The .idx text of the units added so far. Throws std::invalid_argument
  // for a track the index cannot describe (see VobSubIndexText).
  std::string indexText() const;

 private:
  PendingFile& sub_;
  VobSubTrack track_;
  std::vector<VobSubIndexEntry> entries_;
  std::uint64_t written_ = 0;
};

}  // namespace tesmora
