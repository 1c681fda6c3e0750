#include "tools/SubtitleInput.h"

#include <QFile>

#include "files/FileAccess.h"
#include "files/FileNames.h"
#include "render/SubtitleDrawing.h"
#include "subtitles/CueTimes.h"
#include "subtitles/FrameReader.h"
#include "subtitles/SrtReader.h"
#include "subtitles/SubtitleFile.h"
#include "subtitles/TextLines.h"
#include "subtitles/TimeChange.h"
#include "sup/SubtitlePacket.h"
#include "sup/TimingReportText.h"

namespace tesmora::cli {
namespace {

std::string PathBytes(const QString& path) {
  return FileNameBytes(path).toStdString();
}

std::string Prefixed(const QString& path, const std::string& text) {
  return std::string(kProgramName) + ": " + PathBytes(path) + ": " + text;
}

}  // namespace

QByteArray LineBytes(const std::string& line) {
  return QByteArray(line.data(), static_cast<qsizetype>(line.size()));
}

std::vector<SubtitleEntry> LoadSubtitles(const QString& path, const Console& console,
                                         const std::string& label,
                                         const std::optional<ChosenFrameRate>& fps) {
  std::string content;
  try {
    content = ReadSubtitleFileBytes(PathBytes(path));
  } catch (const SubtitleFileError& error) {
    throw CliError(kExitRefused, std::string(error.what()) + ".");
  }
  const LineList lines = SplitLines(content);

  const std::string extension = UpperExtension(PathBytes(path));
  SubtitleReadResult result;
  if (extension == ".SRT") {
    result = ReadSrt(lines);
    if (fps) {
      result.notes.push_back("The frame rate " + fps->text +
                             " is not used: an SRT file gives times, not frames.");
    }
  } else if (extension == ".SUB" || extension == ".TXT") {
    result = ReadFrames(lines, fps);
  } else {
    throw CliError(kExitRefused,
                   Prefixed(path,
                            "not a subtitle file Tesmora reads: it takes SRT files (.srt) "
                            "and MicroDVD files (.sub, .txt)."));
  }

  if (result.frameRateMissing) {
    throw CliError(kExitRefused, result.error + ", or give the rate with --fps RATE.");
  }
  if (!result.error.empty()) {
    throw CliError(kExitRefused, result.error + ".");
  }
  if (result.unreadTimingLines > 0) {
    console.err << TerminalText(
                       label + "Some subtitles could not be read: " +
                       std::to_string(result.unreadTimingLines) +
                       " timing line(s) not understood. First at line " +
                       std::to_string(result.firstUnreadLineNumber) + ":\n" +
                       QString::fromLatin1(LineBytes(result.firstUnreadLine)).toStdString())
                << '\n';
  }
  for (const std::string& note : result.notes) {
    console.err << TerminalText(label + note) << '\n';
  }
  if (result.entries.empty()) {
    throw CliError(kExitRefused, Prefixed(path, "no subtitle found; nothing was written."));
  }
  return std::move(result.entries);
}

std::vector<SubtitleEntry> ChangeTimes(std::vector<SubtitleEntry> entries,
                                       const CliOptions& options) {
  try {
    if (options.rateConversion) {
      entries = ConvertCueRate(std::move(entries), *options.rateConversion);
    }
    if (options.shiftMs != 0) {
      entries = ShiftCues(std::move(entries), options.shiftMs);
    }
  } catch (const SubtitleError& error) {
    throw CliError(kExitRefused, std::string(error.what()) + ".");
  }
  return entries;
}

Timeline PlanSubpictures(const std::vector<SubtitleEntry>& entries, const Console& console,
                         const std::string& label) {
  Timeline timeline;
  try {
    timeline = PlanTimeline(CueTimesOf(entries));
  } catch (const SubtitleError& error) {
    throw CliError(kExitRefused, std::string(error.what()) + ".");
  }
  for (const std::string& line : TimingReportLines(timeline.report)) {
    console.err << TerminalText(label + line) << '\n';
  }
  return timeline;
}

void CheckLinesFit(const std::vector<SubtitleEntry>& entries, const SubtitleStyle& style) {
  for (const SubtitleEntry& entry : entries) {
    const PreparedSubtitle prepared =
        PrepareSubtitle(LineBytes(entry.line1()), LineBytes(entry.line2()), style);
    if (!prepared.fitsWidth()) {
      throw CliError(kExitRefused,
                     OverlongEntryMessage(prepared.line1, prepared.line2, false).toStdString());
    }
  }
}

}  // namespace tesmora::cli
