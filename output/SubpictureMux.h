#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "output/ProgramStreamPack.h"

namespace tesmora {

// How long before its PTS a subpicture unit is delivered at the latest, in
// ticks of the 90 kHz clock: the decoder needs the whole unit before it
// shows it.
inline constexpr std::uint64_t kSubpictureLead = 9000;

// Receives the multiplexed stream piece by piece, in order.
using PackSink = std::function<void(std::span<const std::uint8_t>)>;

// Multiplexes the packs of a VobSub .sub file into a DVD program stream of
// video and audio, so that every subpicture unit keeps a PES packet of its
// own with its own PTS.
//
// The subtitle times count from the start of the video: each unit's PTS is
// moved by the earliest video PTS. A unit's packs go in before the first
// pack (after the first) whose SCR is later than the unit's PTS less
// kSubpictureLead, and take over the SCR and mux rate of the pack before
// them, so that the SCRs never decrease; units due after the last pack
// follow it. The video's packs pass through unchanged.
//
// Both inputs are checked in full before the first byte goes to `sink`.
// Throws ProgramStreamError for bad input, its text prefixed with "video: "
// or "subtitles: ". Returns the number of subpicture units.
std::size_t MuxSubpictures(std::span<const std::uint8_t> video,
                           std::span<const std::uint8_t> subtitles, const PackSink& sink);

}  // namespace tesmora
