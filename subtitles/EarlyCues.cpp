#include "subtitles/EarlyCues.h"

namespace tesmora {

bool IsNewEarliestCue(const SubtitleReadResult& result, long long startMs) {
  if (startMs >= 0) {
    return false;
  }
  // The recorded starts fall from one record to the next: the last is the
  // earliest.
  return result.earlyCues.empty() || startMs < result.earlyCues.back().startMs;
}

std::string StillEarlyCueMessage(const std::vector<SubtitleEntry>& entries,
                                 const std::vector<EarlyCue>& earlyCues) {
  for (const EarlyCue& early : earlyCues) {
    if (early.entry < entries.size() && entries[early.entry].startMs < 0) {
      return early.message;
    }
  }
  return {};
}

}  // namespace tesmora
