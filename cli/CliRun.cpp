#include "cli/CliRun.h"

#include <QFontDatabase>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cli/CliCheck.h"
#include "cli/CliOptions.h"
#include "cli/CliPalette.h"
#include "cli/OutputFiles.h"
#include "cli/ProgressLine.h"
#include "conversion/AssFileRun.h"
#include "conversion/BluRayRun.h"
#include "conversion/FilmLoad.h"
#include "conversion/FilmPlan.h"
#include "conversion/PgsRun.h"
#include "conversion/RunFiles.h"
#include "conversion/RunReports.h"
#include "files/FileNames.h"
#include "files/OutputFileError.h"
#include "palette/FallbackNotice.h"
#include "render/CrowdedCues.h"
#include "subtitles/SubtitleFile.h"
#include "sup/SubtitlePacket.h"

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

std::string PathBytes(const QString& path) {
  return FileNameBytes(path).toStdString();
}

std::string Prefixed(const QString& path, const std::string& text) {
  return std::string(kProgramName) + ": " + InlineText(PathBytes(path)) + ": " + text;
}

void PrintNote(const std::string& note, const Console& console, const std::string& label) {
  if (!note.empty()) {
    console.err << TerminalText(label + note) << '\n';
  }
}

// Reads a subtitle file with the reader of its kind and prints what the
// reading has to say. Throws CliError (kExitRefused) for a file that cannot
// be opened, is of another kind, gives no frame rate, stops at a cue that
// cannot be read, or holds no cue at all: a run never writes a stream
// without subtitles over an earlier one.
LoadedFilm LoadFile(const CliOptions& options, const QString& path, const Console& console,
                    const std::string& label) {
  const FilmRequest request{path, options.encoding, options.noMarkup, options.wrap, options.fps,
                            options.style.charset,
                            ListTexts::Skipped,  // the converter shows no list
                            options.styles,
                            // With a Blu-ray format, --fps is also the video's rate.
                            options.bluRay()};
  LoadedFilm film;
  try {
    film = LoadFilm(request);
  } catch (const SubtitleFileError& error) {
    // One line that names the file.
    throw CliError(kExitRefused, InlineText(error.what()) + ".");
  } catch (const std::invalid_argument&) {
    throw CliError(kExitUsage,
                   Prefixed(path, "no encoding is called " + InlineText(options.encoding) + "."));
  }
  if (!film.format) {
    throw CliError(kExitRefused, Prefixed(path, "not a subtitle file Tesmora reads: it takes " +
                                                    ReadableFormatsText() + "."));
  }
  const SubtitleReadResult& result = film.result;
  if (result.frameRateMissing) {
    throw CliError(kExitRefused, result.error + ", or give the rate with --fps RATE.");
  }
  if (!result.error.empty()) {
    throw CliError(kExitRefused, result.error + ".");
  }
  PrintNote(film.unreadNote, console, label);
  if (!options.quiet) {
    PrintNote(film.encodingNote, console, label);
  }
  PrintNote(film.replacedNote, console, label);
  for (const std::string& note : result.notes) {
    PrintNote(note, console, label);
  }
  if (result.entries.empty()) {
    throw CliError(kExitRefused, Prefixed(path, "no subtitle found; nothing was written."));
  }
  return film;
}

// Leaves out the textless cues, changes the times and plans the
// subpictures, printing what these steps have to say; refuses a film with no
// cue left or a time the choices cannot make. Both targets start here.
FilmPlan PlanCues(LoadedFilm& film, const CliOptions& options, const QString& path,
                  const Console& console, const std::string& label) {
  FilmPlan plan =
      PlanFilm(film, options.style, TimeChoices{options.rateConversion, options.shiftMs});
  PrintNote(plan.textlessNote, console, label);
  if (plan.refusal == PlanRefusal::NoSubtitle) {
    throw CliError(kExitRefused, Prefixed(path, "no subtitle found; nothing was written."));
  }
  for (const std::string& note : plan.cueTextNotes) {
    PrintNote(note, console, label);
  }
  if (plan.refusal != PlanRefusal::None) {
    throw CliError(kExitRefused, plan.refusalMessage + ".");
  }
  return plan;
}

// The plan of the DVD target: also its timing notes, and a refusal of a cue
// that cannot be drawn whole on the frame.
FilmPlan PlanFile(LoadedFilm& film, const CliOptions& options, const QString& path,
                  const RunLook& look, const Console& console, const std::string& label) {
  FilmPlan plan = PlanCues(film, options, path, console, label);
  for (const std::string& line : plan.timingNotes) {
    PrintNote(line, console, label);
  }
  const QString unfit = UnfitCueRefusal(plan.cues, film.source, options.style, look.frameHeight,
                                        look.workers, false, WrapAdvice::WrapOption);
  if (!unfit.isEmpty()) {
    throw CliError(kExitRefused, unfit.toStdString());
  }
  PrintNote(CrowdedCuesNote(plan.cues, plan.timeline.subpictures, film.source, options.style,
                            look.frameHeight),
            console, label);
  return plan;
}

// Converts one subtitle file into the chosen formats. Throws CliError.
ConvertedFiles ConvertFile(const CliOptions& options, const QString& subtitlePath,
                           const PaletteChoice& choice, const RunLook& settings,
                           const WrittenFiles& written, const Console& console,
                           const std::string& label) {
  LoadedFilm film = LoadFile(options, subtitlePath, console, label);
  const FilmPlan plan = PlanFile(film, options, subtitlePath, settings, console, label);

  const OutputPlan outputs{OutputFolder(options, subtitlePath), OutputStem(options, subtitlePath),
                           options.formats, options.language, options.forced};
  ConvertedFiles converted{outputs.folder, {}};
  for (const QString& path : PlannedFiles(outputs)) {
    converted.files.push_back(PathBytes(path));
  }
  // The help file of a folder lists what every run of this call wrote there.
  const auto earlier = written.byFolder.find(outputs.folder);
  std::vector<std::string> listing =
      earlier == written.byFolder.end() ? std::vector<std::string>{} : earlier->second;
  listing.insert(listing.end(), converted.files.begin(), converted.files.end());
  listing.push_back(HelpFilePath(outputs.folder));

  ProgressLine progress(console.err, static_cast<int>(plan.timeline.subpictures.size()),
                        console.errIsTerminal && !options.quiet);
  RunLook look = settings;
  look.source = film.source;
  const RunTarget target{PathBytes(outputs.folder + outputs.stem), outputs.formats,
                         outputs.language.toStdString(), outputs.forced,
                         RunHelpFile{HelpFilePath(outputs.folder), choice.helpCase, listing}};
  const RunControl control{
      [&progress](std::size_t position) { progress.show(static_cast<int>(position) + 1); },
      nullptr};
  int workers = 0;
  try {
    workers = WriteRunFiles(target, plan.cues, plan.timeline, look, control);
  } catch (const OutputFileError& error) {
    throw CliError(kExitOutput, std::string(kProgramName) + ": cannot write " +
                                    InlineText(error.target().string()) + ": " + error.what() +
                                    ".");
  } catch (const SubtitleError& error) {
    throw CliError(kExitRefused, std::string(error.what()) + ".");
  }
  progress.finish();
  if (workers < look.workers && look.workers > 1 && plan.timeline.subpictures.size() > 1) {
    console.err << TerminalText(label + FewerWorkersNote(workers, look.workers)) << '\n';
  }
  return converted;
}

// The files of a Blu-ray run: STEM.sup, STEM.xml or both.
BluRayFiles BluRayFilesOf(const CliOptions& options, const OutputPlan& outputs) {
  const QString base = outputs.folder + outputs.stem;
  return {options.pgs ? PathBytes(base + QStringLiteral(".sup")) : std::string(),
          options.bdn ? PathBytes(base + QStringLiteral(".xml")) : std::string()};
}

// The files a Blu-ray run names as written. The pictures are not listed one
// by one: a film has a thousand or more.
std::vector<std::string> BluRayFileList(const BluRayFiles& files) {
  std::vector<std::string> written;
  for (const std::string& file : {files.pgsPath, files.bdnPath}) {
    if (!file.empty()) {
      written.push_back(file);
    }
  }
  return written;
}

// The look of a Blu-ray stream.
PgsLook BluRayLook(const CliOptions& options, const TextSource& source) {
  std::optional<double> fps;
  if (options.fps) {
    fps = static_cast<double>(options.fps->rate.numerator) /
          static_cast<double>(options.fps->rate.denominator);
  }
  // The stream takes no IFO: text and outline are in the generic palette's
  // role colours, as the window draws them.
  return PgsLook{BluRayStyleOf(options.style, options.outlineWidth),
                 source,
                 *PgsVideoOf(options.videoLines, fps),  // checked with the command line
                 options.hdr,
                 options.forced,
                 WorkerCount(options.jobs)};
}

// Writes a Blu-ray stream with `write` and prints its notes. Throws CliError.
void WriteBluRayStream(const std::function<std::vector<std::string>()>& write,
                       const Console& console, const std::string& label) {
  std::vector<std::string> notes;
  try {
    notes = write();
  } catch (const OutputFileError& error) {
    throw CliError(kExitOutput, std::string(kProgramName) + ": cannot write " +
                                    InlineText(error.target().string()) + ": " + error.what() +
                                    ".");
  } catch (const std::runtime_error& error) {
    throw CliError(kExitRefused, std::string(kProgramName) + ": " + error.what() + ".");
  }
  // Late and changing cues alter what is seen, so they are said even with --quiet.
  for (const std::string& note : notes) {
    PrintNote(note, console, label);
  }
}

// The refusal of --forced-style for a file whose events carry no style of
// their own in the run: a cue file, or a script drawn in the window's style.
void RefuseForcedStyle(const QString& subtitlePath) {
  if (IsAssScriptPath(PathBytes(subtitlePath))) {
    throw CliError(
        kExitRefused,
        Prefixed(subtitlePath, std::string("--forced-style ") + kForcedStyleWithWindowStylesReason +
                                   "; it cannot be used with --styles window."));
  }
  throw CliError(kExitRefused, Prefixed(subtitlePath, std::string("--forced-style ") +
                                                          kForcedStyleWithoutStylesReason +
                                                          "; --forced marks every subtitle."));
}

// Reads one subtitle file for a Blu-ray run and prints what the reading has
// to say: an ASS or SSA file in its own styles as libass takes it, any
// other as cues. Throws CliError.
BluRayRun ReadBluRayFile(const CliOptions& options, const QString& subtitlePath,
                         const PgsLook& look, const Console& console, const std::string& label) {
  const std::string path = PathBytes(subtitlePath);
  if (!options.forcedStyle.empty() && !DrawsScriptAsItIs(path, options.styles)) {
    RefuseForcedStyle(subtitlePath);
  }
  const BluRayReading reading{
      path, options.styles, options.encoding, options.style.charset,
      AssRunChoices{TimeChoices{options.rateConversion, options.shiftMs}, options.forcedStyle}};
  // libass lays out and wraps the cues' lines, and the stream's writer
  // reports its own timing, so the DVD's timing and fitting reports do not
  // apply.
  const auto readCues = [&] {
    LoadedFilm film = LoadFile(options, subtitlePath, console, label);
    FilmPlan plan = PlanCues(film, options, subtitlePath, console, label);
    return BluRayCues{std::move(plan.cues), film.source};
  };
  BluRayRun run;
  try {
    run = ReadBluRayRun(reading, look, readCues);
  } catch (const CliError&) {
    throw;
  } catch (const SubtitleFileError& error) {
    throw CliError(kExitRefused, InlineText(error.what()) + ".");
  } catch (const std::invalid_argument&) {
    throw CliError(kExitUsage, Prefixed(subtitlePath, "no encoding is called " +
                                                          InlineText(options.encoding) + "."));
  } catch (const std::runtime_error& error) {
    throw CliError(kExitRefused, std::string(kProgramName) + ": " + error.what() + ".");
  }
  if (run.script) {
    if (!options.quiet) {
      PrintNote(run.script->encodingNote, console, label);
    }
    PrintNote(run.script->replacedNote, console, label);
  }
  return run;
}

// Converts one subtitle file into a Blu-ray subtitle stream, STEM.sup,
// BDN XML, STEM.xml with its pictures, or both from one drawing. Throws
// CliError.
ConvertedFiles ConvertBluRayFile(const CliOptions& options, const QString& subtitlePath,
                                 const Console& console, const std::string& label) {
  const PgsLook look = BluRayLook(options, TextSource{});
  const BluRayRun run = ReadBluRayFile(options, subtitlePath, look, console, label);
  const OutputPlan outputs{OutputFolder(options, subtitlePath), OutputStem(options, subtitlePath),
                           options.formats, options.language, options.forced};
  const BluRayFiles files = BluRayFilesOf(options, outputs);
  ProgressLine progress(console.err, static_cast<int>(run.steps()),
                        console.errIsTerminal && !options.quiet);
  const RunControl control{
      [&progress](std::size_t position) { progress.show(static_cast<int>(position) + 1); },
      nullptr};
  WriteBluRayStream(
      [&] {
        std::vector<std::string> notes = WriteBluRayRun(run, files, look, control);
        progress.finish();
        return notes;
      },
      console, label);
  return {outputs.folder, BluRayFileList(files)};
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
  const RunLook settings{options.style,
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
          options.bluRay() ? ConvertBluRayFile(options, path, console, label)
                           : ConvertFile(options, path, choice, settings, written, console, label);
      const std::vector<std::string>& files = converted.files;
      auto& inFolder = written.byFolder[converted.folder];
      inFolder.insert(inFolder.end(), files.begin(), files.end());
      written.all.insert(written.all.end(), files.begin(), files.end());
      const std::string helpPath = HelpFilePath(converted.folder);
      if (!options.bluRay() &&
          std::find(helpFiles.begin(), helpFiles.end(), helpPath) == helpFiles.end()) {
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
    const ChangingChoices changing{options.shiftMs, options.rateConversionText, options.forced};
    const std::string closing = options.bdn   ? BdnClosingMessage(listing, changing, options.pgs)
                                : options.pgs ? PgsClosingMessage(listing, changing)
                                              : ClosingMessage(choice.helpCase, listing, changing);
    console.out << TerminalText(closing) << '\n';
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
    if (command.options.check) {
      status = CheckStreams(command.options, console);
    } else if (command.options.listPalette) {
      ListPalette(command.options, console);
    } else {
      status = Convert(command.options, console);
    }
  });
  return stopped != kExitOk ? stopped : status;
}

}  // namespace tesmora::cli
