#pragma once

#include <string>
#include <vector>

#include "render/PreparedCue.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// Whether a cue has nothing to draw once its text is read: no line, or only
// blank ones, as "{\an8}" alone, "<i></i>" or a MicroDVD cue of codes alone.
bool HasNothingToDraw(const std::vector<std::string>& lines, const TextSource& source);

// Takes the cues with nothing to draw out of `cues`, keeping the order of
// the others, and returns the sentence that reports them: how many, and the
// first by its number in `cues` as given (counted from 1) and its start.
// Empty when every cue has something to draw.
std::string LeaveOutTextlessCues(std::vector<SubtitleEntry>& cues, const TextSource& source);

}  // namespace tesmora
