#include "tools/SubtitleInput.h"

#include <QFile>

#include "render/SubtitleDrawing.h"
#include "subtitles/FrameReader.h"
#include "subtitles/SrtReader.h"
#include "subtitles/TextLines.h"

namespace tesmora::cli {
namespace {

std::string Prefixed(const QString& path, const std::string& text) {
  return std::string(kProgramName) + ": " + path.toStdString() + ": " + text;
}

}  // namespace

QByteArray LineBytes(const std::string& line) {
  return QByteArray(line.data(), static_cast<qsizetype>(line.size()));
}

std::vector<SubtitleEntry> LoadSubtitles(const QString& path, const Console& console,
                                         const std::string& label) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw CliError(kExitRefused, "Cannot open file " + path.toStdString() + ".");
  }
  const QByteArray content = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw CliError(kExitRefused, "Cannot open file " + path.toStdString() + ".");
  }
  const std::vector<std::string> lines =
      SplitLines(std::string_view(content.constData(), static_cast<std::size_t>(content.size())));

  const std::string extension = UpperExtension(QFile::encodeName(path).toStdString());
  SubtitleReadResult result;
  if (extension == ".SRT") {
    result = ReadSrt(lines);
  } else if (extension == ".SUB" || extension == ".TXT") {
    result = ReadFrames(lines);
  } else {
    throw CliError(kExitRefused,
                   Prefixed(path,
                            "not a subtitle file Tesmora reads: it takes SRT files (.srt) "
                            "and MicroDVD files (.sub, .txt)."));
  }

  if (result.frameRateMissing) {
    throw CliError(kExitRefused, result.error);
  }
  if (!result.error.empty()) {
    throw CliError(kExitRefused, result.error + ".");
  }
  if (result.unreadTimingLines > 0) {
    console.err << label << "Some subtitles could not be read: " << result.unreadTimingLines
                << " timing line(s) not understood. First at line " << result.firstUnreadLineNumber
                << ":\n"
                << QString::fromLatin1(LineBytes(result.firstUnreadLine)).toStdString() << '\n';
  }
  if (result.entries.empty()) {
    throw CliError(kExitRefused, Prefixed(path, "no subtitle found; nothing was written."));
  }
  return std::move(result.entries);
}

void CheckLinesFit(const std::vector<SubtitleEntry>& entries, const SubtitleStyle& style) {
  for (const SubtitleEntry& entry : entries) {
    const PreparedSubtitle prepared =
        PrepareSubtitle(LineBytes(entry.line1), LineBytes(entry.line2), style);
    if (!prepared.fitsWidth()) {
      throw CliError(kExitRefused,
                     OverlongEntryMessage(prepared.line1, prepared.line2, false).toStdString());
    }
  }
}

}  // namespace tesmora::cli
