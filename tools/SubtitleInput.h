#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"
#include "sup/Timeline.h"
#include "tools/CliConsole.h"
#include "tools/CliOptions.h"

namespace tesmora::cli {

// How the converter reads the text of subtitle files.
struct LoadChoices {
  std::string encoding = "auto";
  bool noMarkup = false;
  bool wrap = false;
  bool quiet = false;
  // The rate of MicroDVD frames, replacing the file's own.
  std::optional<ChosenFrameRate> fps;
  // The character set of the style, whose code page reads 8-bit text.
  int charset = charset::kDefault;
};

// The cues of a file and how their text lines are read.
struct LoadedSubtitles {
  std::vector<SubtitleEntry> entries;
  TextSource source;
  // The cues that start before 0 as read, for ChangeTimes.
  std::vector<EarlyCue> earlyCues;
};

// Reads a subtitle file as the window's load does: SRT for ".srt", MicroDVD
// frames for ".sub" and ".txt". Timing lines that cannot be read are
// reported on the error stream and passed over. Throws CliError
// (kExitRefused) for a file that cannot be opened, is of another kind, gives
// no frame rate, stops at a cue that cannot be read, or holds no cue at all:
// a run never writes a stream without subtitles over an earlier one.
// `label` begins each warning: empty for a single file, the program and the
// file's name when a call converts several.
//
// The text is read in `choices.encoding` ("auto": UTF-8 and UTF-16 are
// recognised, other text is left for the code page of the charset); the
// encoding used, when it is not that code page, is said on the error stream
// unless `choices.quiet`, and characters replaced by U+FFFD always are:
// sequences invalid in the encoding, or bytes the code page of
// `choices.charset` has no character for.
LoadedSubtitles LoadSubtitles(const QString& path, const Console& console,
                              const std::string& label = {}, const LoadChoices& choices = {});

// The times as the options change them: a rate conversion, then a shift.
// Throws CliError (kExitRefused) naming the first cue that the shift would
// move before 0 or whose time grows too large, and then, with the reader's
// message, the first of `earlyCues` that still starts before 0.
std::vector<SubtitleEntry> ChangeTimes(std::vector<SubtitleEntry> entries,
                                       const CliOptions& options,
                                       const std::vector<EarlyCue>& earlyCues = {});

// The subpictures that show the cues in time order. What the timing changes
// (order, overlaps, cues too short or left out) is reported on the error
// stream, each line begun with `label`. Throws CliError (kExitRefused) for a
// cue too late for a time stamp.
Timeline PlanSubpictures(const std::vector<SubtitleEntry>& entries, const Console& console,
                         const std::string& label = {});
// Prints on the error stream, each after `label`, what the drawing of the
// cues in the style leaves out: markup without an effect, and characters no
// installed font can draw.
// Leaves out the cues that have nothing to draw once their markup is read,
// and says so on the error stream. Throws CliError (kExitRefused) when no
// cue is left.
void DropTextlessCues(LoadedSubtitles& loaded, const QString& path, const SubtitleStyle& style,
                      const Console& console, const std::string& label = {});

void ReportCueText(const LoadedSubtitles& loaded, const SubtitleStyle& style,
                   const Console& console, const std::string& label = {});

// A subtitle line's bytes, undecoded, as the rasteriser takes them.
QByteArray LineBytes(const std::string& line);

// The window's line-fit check: every entry's lines, decoded and measured in
// the style, must be narrower than the line limit, and placed alone on a
// frame `frameHeight` rows high they must all lie within it. Throws CliError
// (kExitRefused) with the window's message for the first entry that does not
// fit. The entries are measured on `workers` threads; the first is the same
// for any count.
void CheckLinesFit(const std::vector<SubtitleEntry>& entries, const SubtitleStyle& style,
                   const TextSource& source, int frameHeight, int workers);
// Prints on the error stream, after `label`, the cues that each fit alone
// but, shown together, do not all fit in the frame and are cut off.
void ReportCrowdedCues(const std::vector<SubtitleEntry>& entries, const Timeline& timeline,
                       const SubtitleStyle& style, const TextSource& source, int frameHeight,
                       const Console& console, const std::string& label);

}  // namespace tesmora::cli
