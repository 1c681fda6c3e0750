#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "render/SubtitleStyle.h"
#include "sup/SupPacket.h"

namespace tesmora::cli {

// The television standard of the generic palette's frames.
enum class Standard { Pal, Ntsc };

// What a conversion run is asked to do.
struct CliOptions {
  QString subtitlePath;               // empty only when listing the palette
  QString outputDir;                  // empty: the subtitle file's folder
  QString ifoPath;                    // empty: the generic palette
  Standard standard = Standard::Pal;  // frames of the generic palette
  SubtitleStyle style;
  int outlineWidth = 3;
  // Palette entries of the roles; empty: those the palette's load picks.
  std::optional<RolePaletteIndices> roles;
  bool listPalette = false;
  bool quiet = false;
};

enum class CommandAction { Run, Help, Version, UsageError };

// The command line read: what to do, the options of a run, and for a usage
// error the text that explains it (without the program name).
struct Command {
  CommandAction action = CommandAction::Run;
  CliOptions options;
  std::string error;
};

// Reads the arguments that follow the program name. "--name value" and
// "--name=value" both work; "--" ends the options. Every value is checked
// here, so a run starts only with a complete, valid set.
Command ParseCommandLine(const QStringList& arguments);

// The --help text, and the short hint printed after a usage error.
std::string UsageText();
std::string UsageHint();

}  // namespace tesmora::cli
