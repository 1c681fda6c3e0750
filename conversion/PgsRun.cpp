#include "conversion/PgsRun.h"

#include <cmath>
#include <utility>

#include "conversion/PgsPictures.h"
#include "hdrender/AssScript.h"
#include "output/OutputFileSet.h"
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
  const std::vector<VideoRate> rates = RatesOf(lines);
  std::string text;
  for (std::size_t i = 0; i < rates.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == rates.size() ? " or " : ", ") + std::string(rates[i].text);
  }
  return text;
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

std::vector<std::string> WritePgsFile(const std::string& path,
                                      const std::vector<SubtitleEntry>& cues, const PgsLook& look) {
  std::vector<HdCue> hdCues;
  hdCues.reserve(cues.size());
  for (const SubtitleEntry& cue : cues) {
    hdCues.push_back(
        {cue.startMs, cue.startMs + cue.durationMs, CueLineTexts(cue.lines.toVector())});
  }
  const pgs::ColourSpace colour =
      look.hdr ? pgs::ColourSpace::Bt2020Pq : pgs::StandardSpaceForHeight(look.video.format.height);
  pgs::PgsStreamWriter writer({look.video.format, colour});
  // The stream goes to its file as it is written: a film's stream is tens
  // of megabytes. The set removes the file if the run fails.
  OutputFileSet outputs;
  PendingFile& file = outputs.add(path);
  // The first cue each picture shows, to name a late one by its cue.
  std::vector<int> firstCues;
  const std::string script =
      BuildAssScript(hdCues, look.source.dialect, look.style, look.video.target);
  std::vector<CueTime> times;
  times.reserve(hdCues.size());
  for (const HdCue& cue : hdCues) {
    times.push_back({cue.startMs, cue.endMs});
  }
  const PgsDrawing drawing{
      script, times, look.video.target, AssShaping::Complex, look.video.format, look.forced};
  const PictureReport report =
      DrawPgsPictures(drawing, look.workers, [&](PreparedCuePicture&& picture) {
        firstCues.push_back(picture.firstEvent);
        writer.add(std::move(picture.picture));
        file.write(writer.takeBytes());
      });
  const pgs::PgsStream stream = writer.finish();
  file.write(stream.bytes);

  std::vector<std::string> notes;
  for (const pgs::LateCue& late : stream.late) {
    const std::string cue = CueNumber(firstCues[static_cast<std::size_t>(late.number - 1)]);
    if (late.start_late_ms > 0) {
      notes.push_back("Subtitle " + cue + " starts " + std::to_string(late.start_late_ms) +
                      " ms late: the player is still drawing the one before.");
    }
    if (late.end_late_ms > 0) {
      notes.push_back("Subtitle " + cue + " ends " + std::to_string(late.end_late_ms) +
                      " ms late: the player needs that long to clear it.");
    }
  }
  for (const int event : report.changingEventIndices) {
    notes.push_back("Subtitle " + CueNumber(event) +
                    " changes while it is shown (a fade, move or transform); each change is "
                    "written as a picture of its own.");
  }

  outputs.commit();
  return notes;
}

}  // namespace tesmora
