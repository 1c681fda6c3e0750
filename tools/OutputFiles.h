#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "palette/Palette.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"
#include "sup/HelpFile.h"
#include "sup/SupPacket.h"
#include "sup/Timeline.h"
#include "tools/CliOptions.h"
#include "tools/ProgressLine.h"

namespace tesmora::cli {

// How every subtitle of a run is drawn and encoded.
struct DrawingSettings {
  SubtitleStyle style;
  int outlineWidth = 3;
  Palette palette;
  RolePaletteIndices roles;
  int frameHeight = 576;  // 576 PAL, 480 NTSC
  TextSource source;      // how the cues' text lines are read
  int workers = 1;        // threads that draw and encode; the bytes are the same for any count
};

// What one conversion writes: into which folder, under which name, in which
// formats, and what the VobSub index says of the track.
struct OutputPlan {
  QString folder;  // absolute, ending in "/"
  QString stem;
  OutputFormats formats;
  QString language = QStringLiteral("en");
  bool forced = false;
};

// The folder the files of `subtitlePath` go to, absolute and ending in "/",
// as the help texts name it: --output-dir, or else the subtitle file's
// folder. Throws CliError (kExitOutput) when it is no existing folder.
QString OutputFolder(const CliOptions& options, const QString& subtitlePath);

// The full paths of the files the plan writes besides the help file.
QStringList PlannedFiles(const OutputPlan& plan);

// Draws each entry on the key frame once and writes its unit into every
// chosen format: STEM.sup, the VobSub pair STEM.idx and STEM.sub, and the
// palette STEM.rgb (the colours a player shows), with every unit's
// start-display forced if asked. Writes the help text of the case into
// folder/Tesmora_Help_File.txt, listing `helpListing`. Every file replaces
// an earlier one only when all are complete: a run that fails changes none.
// Returns the threads that drew and encoded: fewer than settings.workers
// when the system would not start them all (at least 1). Throws CliError:
// kExitOutput when a file cannot be written, kExitRefused for a subtitle that
// cannot become a packet.
int WriteOutputFiles(const OutputPlan& plan, const std::vector<SubtitleEntry>& entries,
                     const Timeline& timeline, const DrawingSettings& settings, HelpCase helpCase,
                     const std::vector<std::string>& helpListing, ProgressLine& progress);

}  // namespace tesmora::cli
