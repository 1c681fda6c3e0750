#include "hdrender/HdPictures.h"

#include <vector>

#include "hdrender/AssRenderer.h"

namespace tesmora {

namespace {

// Collects every picture a sink is given.
template <typename Draw>
StablePictures Kept(const Draw& draw) {
  StablePictures result;
  result.report =
      draw([&result](TimedPicture&& picture) { result.pictures.push_back(std::move(picture)); });
  return result;
}

}  // namespace

PictureReport RenderCuePictures(std::span<const HdCue> cues, MarkupDialect dialect,
                                const HdStyle& style, const HdTarget& target,
                                const PictureSink& sink, AssShaping shaping) {
  AssRenderer renderer(BuildAssScript(cues, dialect, style, target), target, shaping);
  std::vector<CueTime> times;
  times.reserve(cues.size());
  for (const HdCue& cue : cues) {
    times.push_back({cue.startMs, cue.endMs});
  }
  renderer.setEventTimes(times);
  return FindStablePictures(renderer, target, sink);
}

StablePictures RenderCuePictures(std::span<const HdCue> cues, MarkupDialect dialect,
                                 const HdStyle& style, const HdTarget& target, AssShaping shaping) {
  return Kept([&](const PictureSink& sink) {
    return RenderCuePictures(cues, dialect, style, target, sink, shaping);
  });
}

PictureReport RenderAssPictures(std::string_view script, const HdTarget& target,
                                const PictureSink& sink, AssShaping shaping) {
  AssRenderer renderer(script, target, shaping);
  return FindStablePictures(renderer, target, sink);
}

StablePictures RenderAssPictures(std::string_view script, const HdTarget& target,
                                 AssShaping shaping) {
  return Kept(
      [&](const PictureSink& sink) { return RenderAssPictures(script, target, sink, shaping); });
}

}  // namespace tesmora
