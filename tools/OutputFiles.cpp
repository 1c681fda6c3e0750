#include "tools/OutputFiles.h"

#include <filesystem>

#include "files/FileAccess.h"
#include "files/FileNames.h"

#include "render/KeyFrameRenderer.h"
#include "sup/GenerationRun.h"
#include "sup/OutputFileError.h"
#include "sup/OutputFileSet.h"
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

QRgb QtColour(const Rgb& colour) {
  return qRgb(colour.r, colour.g, colour.b);
}

void WriteStream(PendingFile& stream, const std::vector<SubtitleEntry>& entries,
                 const DrawingSettings& settings, ProgressLine& progress) {
  const auto entry = [&settings](int role) {
    return settings.palette[static_cast<std::size_t>(role)].rgb;
  };
  const RolePaletteIndices& roles = settings.roles;
  const RoleKeyColours keys{entry(roles.text), entry(roles.outline), entry(roles.antialias)};
  const RoleColours colours{QtColour(keys.outline), QtColour(keys.antialias), QtColour(keys.text)};

  KeyFrameRenderer renderer;
  WriteSubpictureStream(stream, static_cast<int>(entries.size()), keys, [&](int i) {
    progress.show(i + 1);
    const SubtitleEntry& subtitle = entries[static_cast<std::size_t>(i)];
    const EncodeArea area =
        renderer.render(LineBytes(subtitle.line1()), LineBytes(subtitle.line2()), settings.style,
                        settings.outlineWidth, colours, settings.frameHeight);
    return DrawnSubtitle{&renderer.frame(), area, subtitle.startMs, subtitle.durationMs, roles};
  });
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

void WriteOutputFiles(const QString& folder, const std::vector<SubtitleEntry>& entries,
                      const DrawingSettings& settings, HelpCase helpCase, ProgressLine& progress) {
  try {
    OutputFileSet outputs;
    PendingFile& stream = outputs.add(FilePath(folder, kStreamFileName));
    PendingFile& help = outputs.add(FilePath(folder, kHelpFileName));
    WriteStream(stream, entries, settings, progress);
    progress.finish();
    help.write(HelpFileText(HelpFileLines(helpCase, PathBytes(folder))));
    outputs.commit();
  } catch (const OutputFileError& error) {
    throw CliError(kExitOutput, std::string(kProgramName) + ": cannot write " +
                                    error.target().string() + ": " + error.what() + ".");
  } catch (const SubtitleError& error) {
    throw CliError(kExitRefused, std::string(error.what()) + ".");
  }
}

}  // namespace tesmora::cli
