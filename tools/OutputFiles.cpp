#include "tools/OutputFiles.h"

#include <filesystem>

#include "files/FileAccess.h"
#include "files/FileNames.h"

#include "render/KeyFrameRenderer.h"
#include "sup/GenerationRun.h"
#include "sup/IoError.h"
#include "sup/SubtitlePacket.h"
#include "tools/SubtitleInput.h"

namespace tesmora::cli {
namespace {

std::string PathBytes(const QString& path) {
  return FileNameBytes(path).toStdString();
}

std::filesystem::path FilePath(const QString& folder, const char* name) {
  return PathBytes(folder) + name;
}

CliError CannotWrite(const QString& folder, const char* name, const IoError& error) {
  return CliError(kExitOutput, std::string(kProgramName) + ": cannot write " + PathBytes(folder) +
                                   name + ": " + error.what() + ".");
}

QRgb QtColour(const Rgb& colour) {
  return qRgb(colour.r, colour.g, colour.b);
}

}  // namespace

QString OutputFolder(const CliOptions& options) {
  const QString path = options.outputDir.isEmpty() ? FolderOfFile(options.subtitlePath)
                                                   : AbsolutePath(options.outputDir);
  if (!IsFolder(path)) {
    const QString named = options.outputDir.isEmpty() ? AbsolutePath(path) : options.outputDir;
    throw CliError(kExitOutput, std::string(kProgramName) + ": cannot write into " +
                                    PathBytes(named) + ": there is no folder of that name.");
  }
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

void WriteStream(const QString& folder, const std::vector<SubtitleEntry>& entries,
                 const DrawingSettings& settings, ProgressLine& progress) {
  const auto entry = [&settings](int role) {
    return settings.palette[static_cast<std::size_t>(role)].rgb;
  };
  const RolePaletteIndices& roles = settings.roles;
  const RoleKeyColours keys{entry(roles.text), entry(roles.outline), entry(roles.antialias)};
  const RoleColours colours{QtColour(keys.outline), QtColour(keys.antialias), QtColour(keys.text)};

  KeyFrameRenderer renderer;
  try {
    WriteSubpictureStream(
        FilePath(folder, kStreamFileName), static_cast<int>(entries.size()), keys, [&](int i) {
          progress.show(i + 1);
          const SubtitleEntry& subtitle = entries[static_cast<std::size_t>(i)];
          const EncodeArea area =
              renderer.render(LineBytes(subtitle.line1), LineBytes(subtitle.line2), settings.style,
                              settings.outlineWidth, colours, settings.frameHeight);
          return DrawnSubtitle{&renderer.frame(), area, subtitle.startMs, subtitle.durationMs,
                               roles};
        });
  } catch (const IoError& error) {
    throw CannotWrite(folder, kStreamFileName, error);
  } catch (const SubtitleError& error) {
    throw CliError(kExitRefused, std::string(error.what()) + ".");
  }
}

void WriteHelp(const QString& folder, HelpCase helpCase) {
  try {
    WriteHelpFile(FilePath(folder, kHelpFileName), HelpFileLines(helpCase, PathBytes(folder)));
  } catch (const IoError& error) {
    throw CannotWrite(folder, kHelpFileName, error);
  }
}

}  // namespace tesmora::cli
