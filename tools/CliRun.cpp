#include "tools/CliRun.h"

#include <QFontDatabase>

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
    console.err << TerminalText(std::string(kProgramName) +
                                ": warning: no installed font is called '" +
                                fontName.toStdString() + "'; a substitute is drawn instead.")
                << '\n';
  }
}

void Convert(const CliOptions& options, const Console& console) {
  const PaletteChoice choice = ChoosePalette(options);
  if (choice.monochromeFallback) {
    console.out << TerminalText(kMonochromeIfoNotice) << '\n';
  }
  WarnOfMissingFont(options.style.fontName, console);
  const std::vector<SubtitleEntry> entries = LoadSubtitles(options.subtitlePath, console);
  CheckLinesFit(entries, options.style);

  const QString folder = OutputFolder(options);
  const DrawingSettings settings{options.style, options.outlineWidth, choice.palette,
                                 options.roles.value_or(choice.roles), choice.pal ? 576 : 480};
  {
    ProgressLine progress(console.err, static_cast<int>(entries.size()),
                          console.errIsTerminal && !options.quiet);
    WriteOutputFiles(folder, entries, settings, choice.helpCase, progress);
  }
  if (!options.quiet) {
    console.out << TerminalText(HelpMessage(choice.helpCase, FileNameBytes(folder).toStdString()))
                << '\n';
  }
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
      console.err << TerminalText(std::string(kProgramName) + ": " + command.error) << '\n'
                  << UsageHint();
      return kExitUsage;
    case CommandAction::Run:
      break;
  }
  if (const std::string pending = PendingChoice(command.options); !pending.empty()) {
    console.err << kProgramName << ": " << pending << '\n' << UsageHint();
    return kExitUsage;
  }
  return RunStoppable(console, [&] {
    if (command.options.listPalette) {
      ListPalette(command.options, console);
    } else {
      Convert(command.options, console);
    }
  });
}

}  // namespace tesmora::cli
