#pragma once

#include <QString>
#include <vector>

#include "palette/Palette.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"
#include "sup/HelpFile.h"
#include "sup/SupPacket.h"
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
};

// The folder the two files go to, absolute and ending in "/", as the help
// texts name it: --output-dir, or else the subtitle file's folder. Throws
// CliError (kExitOutput) when it is no existing folder.
QString OutputFolder(const CliOptions& options);

// Draws each entry on the key frame and writes one packet per entry into
// folder/Generated.sup, and the help text of the case into
// folder/Tesmora_Help_File.txt. Both files replace earlier ones only when
// both are complete: a run that fails changes neither. Throws CliError:
// kExitOutput when a file cannot be written, kExitRefused for a subtitle
// that cannot become a packet.
void WriteOutputFiles(const QString& folder, const std::vector<SubtitleEntry>& entries,
                      const DrawingSettings& settings, HelpCase helpCase, ProgressLine& progress);

}  // namespace tesmora::cli
