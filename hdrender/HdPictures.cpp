#include "hdrender/HdPictures.h"

#include <vector>

#include "hdrender/AssRenderer.h"

namespace tesmora {

StablePictures RenderCuePictures(std::span<const HdCue> cues, MarkupDialect dialect,
                                 const HdStyle& style, const HdTarget& target, AssShaping shaping) {
  AssRenderer renderer(BuildAssScript(cues, dialect, style, target), target, shaping);
  std::vector<CueTime> times;
  times.reserve(cues.size());
  for (const HdCue& cue : cues) {
    times.push_back({cue.startMs, cue.endMs});
  }
  renderer.setEventTimes(times);
  return FindStablePictures(renderer, target);
}

StablePictures RenderAssPictures(std::string_view script, const HdTarget& target,
                                 AssShaping shaping) {
  AssRenderer renderer(script, target, shaping);
  return FindStablePictures(renderer, target);
}

}  // namespace tesmora
