#include "conversion/BluRayRun.h"

#include "subtitles/FrameRate.h"

namespace tesmora {

std::optional<PgsVideo> BluRayVideoOf(const ConversionChoices& choices) {
  const int lines = TargetChoiceOf(choices.target).videoLines;
  if (lines == 0) {
    return std::nullopt;
  }
  std::optional<double> fps;
  if (!choices.videoRate.empty()) {
    const std::optional<FrameRate> rate = ParseFrameRate(choices.videoRate);
    if (!rate) {
      return std::nullopt;
    }
    fps = static_cast<double>(rate->numerator) / static_cast<double>(rate->denominator);
  }
  return PgsVideoOf(lines, fps);
}

std::optional<ChosenFrameRate> BluRayFramesRate(const ConversionChoices& choices, bool usual) {
  const std::vector<std::string> offered = OfferedVideoRates(choices.target);
  if (offered.empty()) {
    return std::nullopt;
  }
  const std::string text = !choices.videoRate.empty() ? choices.videoRate
                           : usual                    ? offered.front()
                                                      : std::string();
  const std::optional<FrameRate> rate = ParseFrameRate(text);
  if (!rate) {
    return std::nullopt;
  }
  return ChosenFrameRate{*rate, text};
}

bool DrawsScriptAsItIs(const std::string& path, CueStyles styles) {
  return styles == CueStyles::File && IsAssScriptPath(path);
}

BluRayRun ReadBluRayRun(const BluRayReading& reading, const PgsLook& look,
                        const std::function<BluRayCues()>& readCues) {
  BluRayRun run;
  if (DrawsScriptAsItIs(reading.path, reading.styles)) {
    run.script = LoadAssFilm(reading.path, reading.encoding, reading.charset);
    run.eventTimes = AssRunTimes(*run.script, reading.script, look.video.target);
    run.forcedStyle = reading.script.forcedStyle;
  } else {
    run.cues = readCues();
  }
  return run;
}

std::vector<std::string> WriteBluRayRun(const BluRayRun& run, const BluRayFiles& files,
                                        const PgsLook& look, const RunControl& control) {
  if (run.script) {
    return WriteAssPictures(files, *run.script, run.eventTimes, run.forcedStyle, look, control);
  }
  PgsLook cueLook = look;
  cueLook.source = run.cues.source;
  return WriteBluRayFiles(files, run.cues.cues, cueLook, control);
}

}  // namespace tesmora
