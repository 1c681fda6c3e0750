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

ForcedStyleEvents ForcedStyleEventsOf(const AssRenderer& renderer, const std::string& forcedStyle) {
  ForcedStyleEvents forced;
  if (forcedStyle.empty()) {
    return forced;
  }
  const int count = renderer.eventCount();
  forced.events.resize(static_cast<std::size_t>(count));
  bool any = false;
  bool all = true;
  for (int i = 0; i < count; ++i) {
    const bool isForced = renderer.eventStyle(i) == forcedStyle;
    forced.events[static_cast<std::size_t>(i)] = isForced;
    any = any || isForced;
    all = all && isForced;
  }
  if (!any || all) {
    return forced;
  }
  // The same events at the same times, those of other styles never shown.
  forced.aloneTimes.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const CueTime time = renderer.eventTime(i);
    forced.aloneTimes.push_back(
        forced.events[static_cast<std::size_t>(i)] ? time : CueTime{time.startMs, time.startMs});
  }
  return forced;
}

PictureReport RenderAssFilePictures(AssRenderer& renderer, std::string_view script,
                                    const std::string& forcedStyle, const HdTarget& target,
                                    const PictureSink& sink, AssShaping shaping) {
  const ForcedStyleEvents style = ForcedStyleEventsOf(renderer, forcedStyle);
  ForcedEvents forced{style.events, nullptr};
  if (style.aloneTimes.empty()) {
    return FindStablePictures(renderer, target, sink, forced);
  }
  AssRenderer alone(script, target, shaping);
  alone.setEventTimes(style.aloneTimes);
  forced.alone = &alone;
  return FindStablePictures(renderer, target, sink, forced);
}

StablePictures RenderAssPictures(std::string_view script, const HdTarget& target,
                                 AssShaping shaping) {
  return Kept(
      [&](const PictureSink& sink) { return RenderAssPictures(script, target, sink, shaping); });
}

}  // namespace tesmora
