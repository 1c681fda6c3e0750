#pragma once

#include <string>
#include <vector>

#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// The sentence reporting the markup that was taken out of the cues without
// an effect (colours, fonts and the like): how much, the cue of the first,
// counted from 1, and what it was. Empty when there was none.
std::string RemovedMarkupNote(const std::vector<PreparedCue>& cues);

// The sentence reporting the characters that no installed font can draw in
// the style, which come out as empty boxes: the first cue holding one,
// counted from 1, and the characters, with a hint to install a font that
// covers them. Empty when every character can be drawn.
std::string MissingGlyphsNote(const std::vector<PreparedCue>& cues, const SubtitleStyle& style);

// Both of the above for the loaded cues, read in the style, those that have
// something to say, in that order.
std::vector<std::string> CueTextNotes(const std::vector<SubtitleEntry>& entries,
                                      const TextSource& source, const SubtitleStyle& style);

}  // namespace tesmora
