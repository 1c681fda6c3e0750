#include "tools/SubtitleInput.h"

#include <QFile>

#include "files/FileAccess.h"
#include "files/FileNames.h"
#include "render/CrowdedCues.h"
#include "render/CueTextNotes.h"
#include "render/OverlongCue.h"
#include "render/TextlessCues.h"
#include "render/UnfitCueMessage.h"
#include "subtitles/CodePageReplacements.h"
#include "subtitles/CueTimes.h"
#include "subtitles/DecodingNotes.h"
#include "subtitles/EarlyCues.h"
#include "subtitles/FileText.h"
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
  return std::string(kProgramName) + ": " + InlineText(PathBytes(path)) + ": " + text;
}

}  // namespace

QByteArray LineBytes(const std::string& line) {
  return QByteArray(line.data(), static_cast<qsizetype>(line.size()));
}

LoadedSubtitles LoadSubtitles(const QString& path, const Console& console, const std::string& label,
                              const LoadChoices& choices) {
  // The file's bytes are let go once decoded, before the cues are read.
  const FileText text = [&] {
    std::string content;
    try {
      content = ReadSubtitleFileBytes(PathBytes(path));
    } catch (const SubtitleFileError& error) {
      // One line that names the file.
      throw CliError(kExitRefused, InlineText(error.what()) + ".");
    }
    try {
      return DecodeSubtitleFile(content, choices.encoding);
    } catch (const std::invalid_argument&) {
      throw CliError(kExitUsage,
                     Prefixed(path, "no encoding is called " + InlineText(choices.encoding) + "."));
    }
  }();
  const LineList lines = SplitLines(text.bytes);

  const std::string extension = UpperExtension(PathBytes(path));
  SubtitleReadResult result;
  if (extension == ".SRT") {
    result = ReadSrt(lines, ListTexts::Skipped);  // the converter shows no list
    if (choices.fps) {
      result.notes.push_back("The frame rate " + choices.fps->text +
                             " is not used: an SRT file gives times, not frames.");
    }
  } else if (extension == ".SUB" || extension == ".TXT") {
    result = ReadFrames(lines, choices.fps);
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
  std::vector<std::string> notes;
  if (!choices.quiet) {
    notes.push_back(EncodingUsedNote(text));
  }
  notes.push_back(ReplacedCharactersNote(text, lines, choices.charset));
  notes.insert(notes.end(), result.notes.begin(), result.notes.end());
  for (const std::string& note : notes) {
    if (!note.empty()) {
      console.err << TerminalText(label + note) << '\n';
    }
  }
  if (result.entries.empty()) {
    throw CliError(kExitRefused, Prefixed(path, "no subtitle found; nothing was written."));
  }
  const MarkupDialect dialect = choices.noMarkup      ? MarkupDialect::Literal
                                : extension == ".SRT" ? MarkupDialect::Srt
                                                      : MarkupDialect::MicroDvd;
  return {std::move(result.entries), TextSource{text.utf8, dialect, choices.wrap},
          std::move(result.earlyCues)};
}

std::vector<SubtitleEntry> ChangeTimes(std::vector<SubtitleEntry> entries,
                                       const CliOptions& options,
                                       const std::vector<EarlyCue>& earlyCues) {
  try {
    entries = ChangeCueTimes(std::move(entries), options.rateConversion, options.shiftMs);
  } catch (const SubtitleError& error) {
    throw CliError(kExitRefused, std::string(error.what()) + ".");
  }
  if (const std::string early = StillEarlyCueMessage(entries, earlyCues); !early.empty()) {
    throw CliError(kExitRefused, early + ".");
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

void DropTextlessCues(LoadedSubtitles& loaded, const QString& path, const SubtitleStyle& style,
                      const Console& console, const std::string& label) {
  const std::string note = LeaveOutTextlessCues(loaded.entries, loaded.source, style);
  if (note.empty()) {
    return;
  }
  console.err << TerminalText(label + note) << '\n';
  if (loaded.entries.empty()) {
    throw CliError(kExitRefused, Prefixed(path, "no subtitle found; nothing was written."));
  }
}

void ReportCueText(const LoadedSubtitles& loaded, const SubtitleStyle& style,
                   const Console& console, const std::string& label) {
  for (const std::string& note : CueTextNotes(loaded.entries, loaded.source, style)) {
    console.err << TerminalText(label + note) << '\n';
  }
}

void CheckLinesFit(const std::vector<SubtitleEntry>& entries, const SubtitleStyle& style,
                   const TextSource& source, int frameHeight, int workers) {
  if (const std::optional<UnfitCue> unfit =
          FirstUnfitCue(entries, source, style, frameHeight, workers)) {
    const PreparedCue prepared = PrepareCue(entries[unfit->position].lines, source, style);
    throw CliError(
        kExitRefused,
        UnfitCueMessage(prepared, unfit->fault, unfit->position + 1, false).toStdString());
  }
}

void ReportCrowdedCues(const std::vector<SubtitleEntry>& entries, const Timeline& timeline,
                       const SubtitleStyle& style, const TextSource& source, int frameHeight,
                       const Console& console, const std::string& label) {
  const std::string note =
      CrowdedCuesNote(entries, timeline.subpictures, source, style, frameHeight);
  if (!note.empty()) {
    console.err << TerminalText(label + note) << '\n';
  }
}

}  // namespace tesmora::cli
