#pragma once

#include <span>
#include <string>
#include <vector>

#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"
#include "timing/Timeline.h"

namespace tesmora {

// The sentence reporting the cues that are shown together in a subpicture
// and, stacked as the drawing stacks them, do not all fit in a frame
// `frameHeight` rows high: the lines beyond the frame's edge are cut off.
// Subpictures in a row that are too crowded make one group; each group is
// named by its cues, counted from 1 in list order, the first few groups in
// full and the rest counted. Empty when every subpicture fits.
std::string CrowdedCuesNote(const std::vector<SubtitleEntry>& cues,
                            std::span<const Subpicture> subpictures, const TextSource& source,
                            const SubtitleStyle& style, int frameHeight);

// Cue positions, ascending and distinct, as their numbers counted from 1,
// runs of three or more told as "a to b": "cues 4 to 6, 9, 10 and 12".
std::string CueNumbersText(const std::vector<int>& positions);

}  // namespace tesmora
