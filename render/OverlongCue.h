#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"
#include "sup/ThreadStart.h"

namespace tesmora {

// The position of the first cue, in the list's order, with a line as wide as
// the line limit or wider once read and measured in the style; none when
// every cue fits. The cues are measured on `workers` threads (below 2: on
// the calling one), each taking every workers-th cue; the calling thread
// takes the share of a thread the system would not start. The answer is the
// same for any count.
std::optional<std::size_t> FirstOverlongCue(const std::vector<SubtitleEntry>& cues,
                                            const TextSource& source, const SubtitleStyle& style,
                                            int workers,
                                            const ThreadStarter& startThread = StartThread);

}  // namespace tesmora
