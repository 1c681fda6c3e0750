#include "output/VobSubWriter.h"

#include <utility>

#include "output/VobSubPacks.h"

namespace tesmora {

VobSubWriter::VobSubWriter(PendingFile& sub, VobSubTrack track)
    : sub_(sub), track_(std::move(track)) {}

void VobSubWriter::add(std::uint32_t pts, std::span<const std::uint8_t> unit) {
  // Every unit begins a pack of its own, so its packs do not depend on the
  // units before it: only their offset does.
  const VobSubUnit one{pts, unit};
  const VobSubPacks packs = BuildVobSubPacks(std::span(&one, 1));
  sub_.write(packs.bytes);
  entries_.push_back({pts, written_});
  written_ += packs.bytes.size();
}

std::string VobSubWriter::indexText() const {
  return VobSubIndexText(track_, entries_);
}

}  // namespace tesmora
