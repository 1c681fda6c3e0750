#include "tools/CliRun.h"

#include <QFontDatabase>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "files/FileNames.h"
#include "palette/FallbackNotice.h"
#include "tools/CliOptions.h"
#include "tools/CliPalette.h"
#include "tools/OutputFiles.h"
#include "tools/ProgressLine.h"
#include "tools/SubtitleInput.h"

namespace tesmora::cli {
namespace {

// The palette of a run: the IFO's, or the generic one of the chosen standard.
PaletteChoice ChoosePalette(const CliOptions& options) {
  return options.ifoPath.isEmpty() ? GenericChoice(options.standard == Standard::Pal)
                                   : IfoChoice(options.ifoPath);
}

void ListPalette(const CliOptions& options, const Console& console) {
  const PaletteChoice choice = ChoosePalette(options);
  if (choice.monochromeFallback) {
    // The listing on the output stays 17 lines for scripts; the notice says
    // why it is the generic palette.
    console.err << TerminalText(kMonochromeIfoNotice) << '\n';
  }
  console.out << PaletteListing(choice);
}

// A font name no installed family answers to is drawn in a substitute; the
// window only offers installed families, and Arial, its default.
void WarnOfMissingFont(const QString& fontName, const Console& console) {
  if (fontName != QStringLiteral("Arial") && !QFontDatabase::hasFamily(fontName)) {
    console.err << TerminalText(
                       std::string(kProgramName) + ": warning: no installed font is called '" +
                       InlineText(fontName.toStdString()) + "'; a substitute is drawn instead.")
                << '\n';
  }
}

// The files a call has written so far, for the help texts: in each output
// folder, and in all of them in the order they were written.
struct WrittenFiles {
  std::map<QString, std::vector<std::string>> byFolder;
  std::vector<std::string> all;
};

// What one conversion wrote: the output folder, and the paths of the files
// besides the help file.
struct ConvertedFiles {
  QString folder;
  std::vector<std::string> files;
};

std::string HelpFilePath(const QString& folder) {
  return FileNameBytes(folder).toStdString() + kHelpFileName;
}

// The note of a run that had fewer threads than asked for: the system
// would not start more (a limit on processes or threads).
std::string FewerWorkersNote(int started, int asked) {
  return "Only " + std::to_string(started) + " of the " + std::to_string(asked) +
         " threads asked for could start; the run went on with " + std::to_string(started) +
         ", which writes the same files.";
}

// Converts one subtitle file into the chosen formats. Throws CliError.
ConvertedFiles ConvertFile(const CliOptions& options, const QString& subtitlePath,
                           const PaletteChoice& choice, const DrawingSettings& settings,
                           const WrittenFiles& written, const Console& console,
                           const std::string& label) {
  const LoadChoices choices{options.encoding, options.noMarkup, options.wrap,
                            options.quiet,    options.fps,      options.style.charset};
  LoadedSubtitles loaded = LoadSubtitles(subtitlePath, console, label, choices);
  DropTextlessCues(loaded, subtitlePath, options.style, console, label);
  ReportCueText(loaded, options.style, console, label);
  // The cues are changed in place: a long film's cues are not held twice.
  const std::vector<SubtitleEntry> entries =
      ChangeTimes(std::move(loaded.entries), options, loaded.earlyCues);
  const Timeline timeline = PlanSubpictures(entries, console, label);
  CheckLinesFit(entries, options.style, loaded.source, settings.frameHeight, settings.workers);
  ReportCrowdedCues(entries, timeline, options.style, loaded.source, settings.frameHeight, console,
                    label);

  const OutputPlan plan{OutputFolder(options, subtitlePath), OutputStem(options, subtitlePath),
                        options.formats, options.language, options.forced};
  ConvertedFiles converted{plan.folder, {}};
  for (const QString& path : PlannedFiles(plan)) {
    converted.files.push_back(FileNameBytes(path).toStdString());
  }
  // The help file of a folder lists what every run of this call wrote there.
  const auto earlier = written.byFolder.find(plan.folder);
  std::vector<std::string> listing =
      earlier == written.byFolder.end() ? std::vector<std::string>{} : earlier->second;
  listing.insert(listing.end(), converted.files.begin(), converted.files.end());
  listing.push_back(HelpFilePath(plan.folder));

  ProgressLine progress(console.err, static_cast<int>(timeline.subpictures.size()),
                        console.errIsTerminal && !options.quiet);
  DrawingSettings drawing = settings;
  drawing.source = loaded.source;
  const int workers =
      WriteOutputFiles(plan, entries, timeline, drawing, choice.helpCase, listing, progress);
  if (workers < drawing.workers && drawing.workers > 1 && timeline.subpictures.size() > 1) {
    console.err << TerminalText(label + FewerWorkersNote(workers, drawing.workers)) << '\n';
  }
  return converted;
}

// The text of a failure: with several files, named after the subtitle file
// it concerns, unless it already begins with its name.
std::string FailureText(const std::string& message, const std::string& label) {
  if (label.empty()) {
    return message;
  }
  const std::string program = std::string(kProgramName) + ": ";
  const std::string text =
      message.rfind(program, 0) == 0 ? message.substr(program.size()) : message;
  const std::string name = label.substr(program.size());
  return text.rfind(name, 0) == 0 ? program + text : label + text;
}

// Converts every subtitle file on its own and returns the highest exit
// status of their runs. The closing message lists what all of them wrote.
int Convert(const CliOptions& options, const Console& console) {
  const PaletteChoice choice = ChoosePalette(options);
  if (choice.monochromeFallback) {
    console.out << TerminalText(kMonochromeIfoNotice) << '\n';
  }
  WarnOfMissingFont(options.style.fontName, console);
  const DrawingSettings settings{options.style,
                                 options.outlineWidth,
                                 choice.palette,
                                 options.roles.value_or(choice.roles),
                                 choice.pal ? 576 : 480,
                                 TextSource{},
                                 WorkerCount(options.jobs)};

  const bool several = options.subtitlePaths.size() > 1;
  WrittenFiles written;
  std::vector<std::string> helpFiles;
  int status = kExitOk;
  for (const QString& path : options.subtitlePaths) {
    const std::string label = several ? std::string(kProgramName) + ": " +
                                            InlineText(FileNameBytes(path).toStdString()) + ": "
                                      : std::string();
    try {
      const ConvertedFiles converted =
          ConvertFile(options, path, choice, settings, written, console, label);
      const std::vector<std::string>& files = converted.files;
      auto& inFolder = written.byFolder[converted.folder];
      inFolder.insert(inFolder.end(), files.begin(), files.end());
      written.all.insert(written.all.end(), files.begin(), files.end());
      const std::string helpPath = HelpFilePath(converted.folder);
      if (std::find(helpFiles.begin(), helpFiles.end(), helpPath) == helpFiles.end()) {
        helpFiles.push_back(helpPath);
      }
    } catch (const CliError& error) {
      console.out.flush();
      console.err << TerminalText(FailureText(error.what(), label)) << '\n';
      status = std::max<int>(status, error.code());
    }
  }
  if (!options.quiet && !written.all.empty()) {
    // One line for each file, whatever its name holds.
    std::vector<std::string> listing;
    for (const auto* files : {&written.all, &helpFiles}) {
      for (const std::string& file : *files) {
        listing.push_back(InlineText(file));
      }
    }
    console.out << TerminalText(HelpMessageListing(choice.helpCase, listing)) << '\n';
  }
  return status;
}

}  // namespace

int RunCli(const QStringList& arguments, const Console& console) {
  const Command command = ParseCommandLine(arguments);
  switch (command.action) {
    case CommandAction::Help:
      console.out << UsageText();
      return kExitOk;
    case CommandAction::Version:
      console.out << kProgramName << ' ' << kVersion << '\n';
      return kExitOk;
    case CommandAction::UsageError:
      // A usage error is one line; the values and names it quotes keep it so.
      console.err << TerminalText(std::string(kProgramName) + ": " + InlineText(command.error))
                  << '\n'
                  << UsageHint();
      return kExitUsage;
    case CommandAction::Run:
      break;
  }
  int status = kExitOk;
  const int stopped = RunStoppable(console, [&] {
    if (command.options.listPalette) {
      ListPalette(command.options, console);
    } else {
      status = Convert(command.options, console);
    }
  });
  return stopped != kExitOk ? stopped : status;
}

}  // namespace tesmora::cli
