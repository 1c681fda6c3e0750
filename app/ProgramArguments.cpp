#include "app/ProgramArguments.h"

#include <QFileInfo>

#include "files/FileNames.h"
#include "subtitles/SubtitleFormats.h"

namespace tesmora {
namespace {

ProgramArguments UsageError(const QString& error) {
  ProgramArguments arguments;
  arguments.action = ProgramAction::UsageError;
  arguments.error = error;
  return arguments;
}

}  // namespace

ProgramArguments ReadProgramArguments(const QByteArrayList& arguments) {
  const QByteArrayList options = arguments.mid(0, arguments.indexOf("--"));
  if (options.contains("--help") || options.contains("-h")) {
    return {ProgramAction::Help, {}, {}};
  }
  if (options.contains("--version")) {
    return {ProgramAction::Version, {}, {}};
  }
  ProgramArguments read;
  bool optionsEnded = false;
  for (const QByteArray& argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    const QString text = FileNameText(argument);
    if (!optionsEnded && argument.startsWith('-') && argument != "-") {
      return UsageError(QStringLiteral("unknown option '%1'").arg(text));
    }
    const std::optional<DroppedFile> file = LoadableFile(QFileInfo(text).absoluteFilePath());
    if (!file) {
      return UsageError(QStringLiteral("'%1' is neither a subtitle file (%2) nor a title set's "
                                       "IFO (VTS_xx_0.IFO)")
                            .arg(text, QString::fromStdString(ExtensionsText(", "))));
    }
    for (const DroppedFile& earlier : read.files) {
      if (earlier.kind == file->kind) {
        return UsageError(QStringLiteral("give at most one IFO and one subtitle file"));
      }
    }
    read.files.push_back(*file);
  }
  if (read.files.size() == 2 && read.files.front().kind == DroppedKind::Subtitles) {
    std::swap(read.files.front(), read.files.back());
  }
  return read;
}

QString ProgramUsageText() {
  // The subtitle files are those of the formats read, listed on a line of
  // their own so that a new format does not break the lines above.
  return QStringLiteral(
             "Usage: tesmora [VTS_xx_0.IFO] [SUBTITLE_FILE]\n"
             "\n"
             "Opens the Tesmora window. A title set's IFO (such as VTS_01_0.IFO) and a\n"
             "subtitle file named here are loaded as if dropped on the window: the IFO's\n"
             "palette first, then the subtitles. Subtitle files end in\n") +
         QString::fromStdString(ExtensionsText(" or ")) +
         QStringLiteral(
             ".\n"
             "\n"
             "  -h, --help     show this text and stop\n"
             "  --version      show the version and stop\n"
             "\n"
             "To convert without the window, use tesmora-cli.\n");
}

}  // namespace tesmora
