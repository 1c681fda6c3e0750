#include "conversion/PgsRun.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "conversion/BdnFiles.h"
#include "conversion/PgsPictures.h"
#include "core/SubtitleError.h"
#include "hdrender/AssScript.h"
#include "output/OutputFileSet.h"
#include "palette/Palette.h"
#include "pgs/StreamWriter.h"

namespace tesmora {
namespace {

struct VideoRate {
  double fps;
  const char* text;
  int numerator;
  int denominator;
};

constexpr VideoRate kFilm{23.976, "23.976", 24000, 1001};
constexpr VideoRate kFilm24{24, "24", 24, 1};
constexpr VideoRate kPal{25, "25", 25, 1};
constexpr VideoRate kNtsc{29.97, "29.97", 30000, 1001};
constexpr VideoRate kPal50{50, "50", 50, 1};
constexpr VideoRate kNtsc60{59.94, "59.94", 60000, 1001};

// The rates of each frame size, the usual one first: the standard-definition
// sizes keep their television's rate.
std::vector<VideoRate> RatesOf(int lines) {
  switch (lines) {
    case 1080:
      return {kFilm, kFilm24, kPal, kNtsc, kPal50, kNtsc60};
    case 720:
      return {kFilm, kFilm24, kPal50, kNtsc60};
    case 576:
      return {kPal};
    case 480:
      return {kNtsc};
    default:
      return {};
  }
}

std::string CueNumber(int eventIndex) {
  return std::to_string(eventIndex + 1);
}

// The steps of one changing picture the stream was given.
struct ChangeSteps {
  long long fromMs = 0;  // when the first step shows
  int steps = 0;
  int leftOut = 0;  // steps the player could not show before they ended
  std::int64_t mostLateMs = 0;
};

// What the stream made of a change's steps, when it could not show each in
// time; empty when it could.
std::string ChangeStepsNote(int event, const ChangeSteps& change) {
  if (change.leftOut == 0 && change.mostLateMs == 0) {
    return {};
  }
  std::string note = "Subtitle " + CueNumber(event) +
                     " changes faster than the player can redraw it (from " +
                     FormatSubtitleTime(change.fromMs) + "): ";
  if (change.leftOut > 0) {
    note += std::to_string(change.leftOut) + " of its " + std::to_string(change.steps) +
            " steps are left out, the picture before staying shown";
    if (change.mostLateMs > 0) {
      note += ", and others show up to " + std::to_string(change.mostLateMs) + " ms late";
    }
  } else {
    note += "some of its " + std::to_string(change.steps) + " steps show up to " +
            std::to_string(change.mostLateMs) + " ms late";
  }
  return note + ".";
}

}  // namespace

std::optional<PgsVideo> PgsVideoOf(int lines, std::optional<double> fps) {
  const std::vector<VideoRate> rates = RatesOf(lines);
  for (const VideoRate& rate : rates) {
    if (fps && std::abs(*fps - rate.fps) >= 0.005) {
      continue;
    }
    const std::optional<pgs::VideoFormat> format = pgs::VideoFormatOf(lines, rate.fps);
    std::optional<HdTarget> target = HdTargetForLines(lines);
    if (!format || !target) {
      return std::nullopt;
    }
    target->rateNumerator = rate.numerator;
    target->rateDenominator = rate.denominator;
    return PgsVideo{*format, *target};
  }
  return std::nullopt;
}

std::string PgsRatesOf(int lines) {
  const std::vector<std::string> rates = PgsRateTexts(lines);
  std::string text;
  for (std::size_t i = 0; i < rates.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == rates.size() ? " or " : ", ") + rates[i];
  }
  return text;
}

std::vector<std::string> PgsRateTexts(int lines) {
  std::vector<std::string> texts;
  for (const VideoRate& rate : RatesOf(lines)) {
    texts.emplace_back(rate.text);
  }
  return texts;
}

HdStyle HdStyleOf(const SubtitleStyle& style, int outlineWidth, Rgb text, Rgb outline) {
  HdStyle hd;
  hd.fontName = style.fontName;
  hd.points = style.size;
  hd.bold = style.style.bold;
  hd.italic = style.style.italic;
  hd.underline = style.style.underline;
  hd.strikeOut = style.style.strikeOut;
  hd.text = text;
  hd.outline = outline;
  hd.outlineWidth = outlineWidth;
  hd.alignment = BottomAlignment(style.align);
  hd.marginVertical = style.offset;
  return hd;
}

HdStyle BluRayStyleOf(const SubtitleStyle& style, int outlineWidth) {
  const Palette generic = GenericPalette();
  return HdStyleOf(style, outlineWidth, generic[static_cast<std::size_t>(kGenericText)].rgb,
                   generic[static_cast<std::size_t>(kGenericOutline)].rgb);
}

std::vector<std::string> WriteBluRayFiles(const BluRayFiles& files,
                                          const std::vector<SubtitleEntry>& cues,
                                          const PgsLook& look, const RunControl& control) {
  std::vector<HdCue> hdCues;
  hdCues.reserve(cues.size());
  for (const SubtitleEntry& cue : cues) {
    hdCues.push_back({cue.startMs, cue.startMs + cue.durationMs, CueLineTexts(cue.lines.toVector()),
                      cue.look.placement, cue.look.font});
  }
  const std::string script =
      BuildAssScript(hdCues, look.source.dialect, look.style, look.video.target);
  std::vector<CueTime> times;
  times.reserve(hdCues.size());
  for (const HdCue& cue : hdCues) {
    times.push_back({cue.startMs, cue.endMs});
  }
  // The script holds only the tags written for the cues, none animating, so
  // a still picture needs no second frame to confirm it.
  const PgsDrawing drawing{
      script,      times, look.video.target,     AssShaping::Complex, look.video.format,
      look.forced, {},    HeldPictureCheck::None};
  return WritePgsPictures(files, look, drawing, true, control);
}

std::vector<std::string> WritePgsPictures(const BluRayFiles& files, const PgsLook& look,
                                          const PgsDrawing& drawing, bool sayChanging,
                                          const RunControl& control) {
  const pgs::ColourSpace colour =
      look.hdr ? pgs::ColourSpace::Bt2020Pq : pgs::StandardSpaceForHeight(look.video.format.height);
  // The stream goes to its file as it is written: a film's stream is tens
  // of megabytes. The set removes the files if the run fails.
  OutputFileSet outputs;
  PendingFile* stream = files.pgsPath.empty() ? nullptr : &outputs.add(files.pgsPath);
  std::optional<BdnFiles> bdn;
  pgs::ShownPictureSink shown;
  if (!files.bdnPath.empty()) {
    bdn.emplace(outputs, files.bdnPath, look.video.format);
    shown = [&bdn](const pgs::ShownPicture& picture) { bdn->add(picture); };
  }
  // Even without the stream's file the writer runs: it quantises the
  // pictures and times them as the player shows them.
  pgs::PgsStreamWriter writer({look.video.format, colour}, std::move(shown));
  // Each picture's first cue and the change it is a step of, to name a late
  // one by its cue.
  std::vector<std::pair<int, int>> drawnFor;
  std::map<int, ChangeSteps> steps;
  // The pictures reach this sink on this thread in their order, whatever
  // the count of workers drawing them: progress is told and a cancel seen
  // here, before each picture goes to the stream.
  const PictureReport report =
      DrawPgsPictures(drawing, look.workers, [&](PreparedCuePicture&& drawn) {
        if (control.cancel != nullptr && control.cancel->load()) {
          throw RunCancelled();
        }
        if (control.awaited) {
          control.awaited(static_cast<std::size_t>(drawn.firstEvent));
        }
        drawnFor.emplace_back(drawn.firstEvent, drawn.changeOf);
        const bool shown = writer.add(std::move(drawn.picture));
        if (drawn.changeOf >= 0) {
          ChangeSteps& change = steps[drawn.changeOf];
          if (change.steps == 0) {
            change.fromMs = drawn.startMs;
          }
          ++change.steps;
          change.leftOut += shown ? 0 : 1;
        }
        const std::vector<std::uint8_t> bytes = writer.takeBytes();
        if (stream != nullptr) {
          stream->write(bytes);
        }
      });
  const pgs::PgsStream written = writer.finish();
  if (stream != nullptr) {
    stream->write(written.bytes);
  }

  std::vector<std::string> notes;
  for (const pgs::LateCue& late : written.late) {
    const auto [first, changeOf] = drawnFor[static_cast<std::size_t>(late.number - 1)];
    if (late.start_late_ms > 0 && changeOf >= 0) {
      // A step of a change that shows late is one the player redraws as
      // fast as it can: said once with the change.
      ChangeSteps& change = steps[changeOf];
      change.mostLateMs = std::max(change.mostLateMs, late.start_late_ms);
    } else if (late.start_late_ms > 0) {
      notes.push_back("Subtitle " + CueNumber(first) + " starts " +
                      std::to_string(late.start_late_ms) +
                      " ms late: the player is still drawing the one before.");
    }
    // A step of a change ends where the next step starts; only the last
    // step's end is the change's own.
    const std::size_t next = static_cast<std::size_t>(late.number);
    const bool stepEnd =
        changeOf >= 0 && next < drawnFor.size() && drawnFor[next].second == changeOf;
    if (late.end_late_ms > 0 && !stepEnd) {
      notes.push_back("Subtitle " + CueNumber(first) + " ends " + std::to_string(late.end_late_ms) +
                      " ms late: the player needs that long to clear it.");
    }
  }
  for (const auto& [event, change] : steps) {
    if (std::string note = ChangeStepsNote(event, change); !note.empty()) {
      notes.push_back(std::move(note));
    }
  }
  for (const HeldChange& held : report.heldStill) {
    notes.push_back("Subtitle " + CueNumber(held.event) + " changes for longer than " +
                    std::to_string(2 * kLongestDrawnChangeMs / 1000) +
                    " seconds: its picture is held still from " + FormatSubtitleTime(held.fromMs) +
                    " until " + FormatSubtitleTime(held.toMs) + ".");
  }
  for (const int event : report.mixedForcedEvents) {
    notes.push_back("Subtitle " + CueNumber(event) +
                    " is forced but drawn in one picture with subtitles of other styles; the "
                    "whole picture is marked forced.");
  }
  if (sayChanging) {
    for (const int event : report.changingEventIndices) {
      notes.push_back("Subtitle " + CueNumber(event) +
                      " changes while it is shown (a fade, move or transform); each change is "
                      "written as a picture of its own.");
    }
  }
  if (bdn) {
    bdn->finish();
    for (const int number : bdn->shorterThanAFrame()) {
      notes.push_back("Subtitle " +
                      CueNumber(drawnFor[static_cast<std::size_t>(number - 1)].first) +
                      " shows a picture for less than a frame, which the BDN XML leaves out.");
    }
  }

  outputs.commit();
  return notes;
}

std::vector<std::string> WriteBdnFiles(const std::string& xmlPath,
                                       const std::vector<SubtitleEntry>& cues,
                                       const PgsLook& look) {
  return WriteBluRayFiles({{}, xmlPath}, cues, look);
}

std::vector<std::string> WritePgsFile(const std::string& path,
                                      const std::vector<SubtitleEntry>& cues, const PgsLook& look,
                                      const RunControl& control) {
  return WriteBluRayFiles({path, {}}, cues, look, control);
}

}  // namespace tesmora
