#include "tools/OutputFiles.h"

#include <filesystem>
#include <optional>

#include "files/FileAccess.h"
#include "files/FileNames.h"

#include "render/CueFrameDrawing.h"
#include "subtitles/CueTimes.h"
#include "sup/FormatFiles.h"
#include "sup/GenerationRun.h"
#include "sup/OutputFileError.h"
#include "sup/OutputFileSet.h"
#include "sup/ParallelUnits.h"
#include "sup/SubtitlePacket.h"
#include "tools/CliConsole.h"
#include "tools/SubtitleInput.h"

namespace tesmora::cli {
namespace {

std::string PathBytes(const QString& path) {
  return FileNameBytes(path).toStdString();
}

std::filesystem::path FilePath(const QString& path) {
  return PathBytes(path);
}

QRgb QtColour(const Rgb& colour) {
  return qRgb(colour.r, colour.g, colour.b);
}

RoleKeyColours KeyColours(const DrawingSettings& settings) {
  const auto entry = [&settings](int role) {
    return settings.palette[static_cast<std::size_t>(role)].rgb;
  };
  const RolePaletteIndices& roles = settings.roles;
  return RoleKeyColours{entry(roles.text), entry(roles.outline), entry(roles.antialias)};
}

}  // namespace

QString OutputFolder(const CliOptions& options, const QString& subtitlePath) {
  const QString path = OutputFolderPath(options, subtitlePath);
  if (!IsFolder(path)) {
    const QString named = options.outputDir.isEmpty() ? path : options.outputDir;
    throw CliError(kExitOutput, std::string(kProgramName) + ": cannot write into " +
                                    InlineText(PathBytes(named)) +
                                    ": there is no folder of that name.");
  }
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QStringList PlannedFiles(const OutputPlan& plan) {
  QStringList paths;
  for (const QString& name : OutputFileNames(plan.formats, plan.stem)) {
    paths << plan.folder + name;
  }
  return paths;
}

int WriteOutputFiles(const OutputPlan& plan, const std::vector<SubtitleEntry>& entries,
                     const Timeline& timeline, const DrawingSettings& settings, HelpCase helpCase,
                     const std::vector<std::string>& helpListing, ProgressLine& progress) {
  const QString base = plan.folder + plan.stem;
  const RgbPalette shown = ShownColours(settings.palette);
  const RoleKeyColours keys = KeyColours(settings);
  const RoleColours colours{QtColour(keys.outline), QtColour(keys.antialias), QtColour(keys.text)};
  const CueFrameLook look{
      settings.source, settings.style,      settings.outlineWidth, colours, keys,
      settings.roles,  settings.frameHeight};
  const std::vector<CueTime> cues = CueTimesOf(entries);
  const StartDisplay start = plan.forced ? StartDisplay::Forced : StartDisplay::Normal;
  try {
    // The workers start before any file is opened: a thread the system
    // refuses leaves nothing behind.
    ParallelEncoding encoding(timeline.subpictures, cues, keys, start, settings.workers,
                              CueFrameDrawings(entries, look));
    OutputFileSet outputs;
    FormatFiles files(
        outputs, PathBytes(base), plan.formats,
        VobSubTrack{settings.frameHeight, shown, plan.language.toStdString(), plan.forced});
    PendingFile& help = outputs.add(FilePath(plan.folder + QLatin1String(kHelpFileName)));

    encoding.run(
        [&progress](std::size_t position) { progress.show(static_cast<int>(position) + 1); },
        [&files](const SupPacket& packet, std::uint32_t pts) { files.add(packet, pts); });
    progress.finish();
    files.finish();
    help.write(HelpFileText(HelpFileLinesListing(helpCase, helpListing)));
    outputs.commit();
    return encoding.workers();
  } catch (const OutputFileError& error) {
    throw CliError(kExitOutput, std::string(kProgramName) + ": cannot write " +
                                    InlineText(error.target().string()) + ": " + error.what() +
                                    ".");
  } catch (const SubtitleError& error) {
    throw CliError(kExitRefused, std::string(error.what()) + ".");
  }
}

}  // namespace tesmora::cli
