#pragma once

namespace tesmora {

// What the user is told when an IFO's palette lacks the greys subtitles need
// and the generic palette takes its place. Lines are separated by a single
// carriage return.
inline constexpr const char* kMonochromeIfoNotice =
    "ATTENTION :\r"
    "Your loaded ifo has not a polycromatic color palette.\r"
    "Probably this ifo does not contain any subtitle and you are tryng to add the first one. \r"
    "Tesmora will create an generic polycromatic color palette in order to generate a correct "
    "colored sup file.\r"
    "After the generation of the sup file , Tesmora will tell you what to do using Ifoedit.\r"
    "For now just load your Srt and press Generate sup.";

}  // namespace tesmora
