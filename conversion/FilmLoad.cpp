#include "conversion/FilmLoad.h"

#include "files/FileNames.h"
#include "subtitles/CodePageReplacements.h"
#include "subtitles/DecodingNotes.h"
#include "subtitles/FileText.h"
#include "subtitles/SubtitleFile.h"
#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

MarkupDialect DialectOf(FilmKind kind, bool noMarkup) {
  if (noMarkup) {
    return MarkupDialect::Literal;
  }
  return kind == FilmKind::Srt ? MarkupDialect::Srt : MarkupDialect::MicroDvd;
}

std::string UnreadNote(const SubtitleReadResult& result) {
  if (result.unreadTimingLines == 0) {
    return {};
  }
  // The line is shown as Latin-1, whatever its bytes.
  const QByteArray line(result.firstUnreadLine.data(),
                        static_cast<qsizetype>(result.firstUnreadLine.size()));
  return "Some subtitles could not be read: " + std::to_string(result.unreadTimingLines) +
         " timing line(s) not understood. First at line " +
         std::to_string(result.firstUnreadLineNumber) + ":\n" +
         QString::fromLatin1(line).toStdString();
}

}  // namespace

FilmKind KindOfFilm(const QString& path) {
  const std::string extension = UpperExtension(FileNameBytes(path).toStdString());
  if (extension == ".SRT") {
    return FilmKind::Srt;
  }
  if (extension == ".SUB" || extension == ".TXT") {
    return FilmKind::Frames;
  }
  return FilmKind::Unknown;
}

LoadedFilm LoadFilm(const FilmRequest& request) {
  LoadedFilm film;
  film.kind = KindOfFilm(request.path);
  // The file's bytes are let go once decoded, before the cues are read.
  const FileText text = DecodeSubtitleFile(
      ReadSubtitleFileBytes(FileNameBytes(request.path).toStdString()), request.encoding);
  const LineList lines = SplitLines(text.bytes);
  switch (film.kind) {
    case FilmKind::Srt:
      film.result = ReadSrt(lines, request.listTexts);
      if (request.fps) {
        film.result.notes.push_back("The frame rate " + request.fps->text +
                                    " is not used: an SRT file gives times, not frames.");
      }
      break;
    case FilmKind::Frames:
      film.result = ReadFrames(lines, request.fps);
      break;
    case FilmKind::Unknown:
      break;
  }
  film.source = {text.utf8, DialectOf(film.kind, request.noMarkup), request.wrap};
  film.encoding = text.encoding;
  film.encodingNote = EncodingUsedNote(text);
  film.replacedNote = ReplacedCharactersNote(text, lines, request.charset);
  film.unreadNote = UnreadNote(film.result);
  return film;
}

}  // namespace tesmora
