#include "conversion/FilmLoad.h"

#include "files/FileNames.h"
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

std::string UnreadNote(const SubtitleReadResult& result, bool symbol) {
  if (result.unreadTimingLines == 0) {
    return {};
  }
  // The line is text read into UTF-8; the bytes of a SYMBOL file are shown
  // as Latin-1, each byte a character.
  const QByteArray line(result.firstUnreadLine.data(),
                        static_cast<qsizetype>(result.firstUnreadLine.size()));
  return "Some subtitles could not be read: " + std::to_string(result.unreadTimingLines) +
         " timing line(s) not understood. First at line " +
         std::to_string(result.firstUnreadLineNumber) + ":\n" +
         (symbol ? QString::fromLatin1(line) : QString::fromUtf8(line)).toStdString();
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
  // The file's bytes are let go once decoded, before the cues are read: every
  // cue leaves here as UTF-8 text.
  const FileText text =
      DecodeSubtitleFile(ReadSubtitleFileBytes(FileNameBytes(request.path).toStdString()),
                         request.encoding, request.charset);
  const LineList lines = SplitLines(text.text);
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
  if (text.symbol) {
    SymbolCueLines(film.result.entries);
  }
  film.source = {DialectOf(film.kind, request.noMarkup), request.wrap, text.symbol};
  film.encoding = text.encoding;
  film.encodingNote = EncodingUsedNote(text);
  film.replacedNote = InvalidSequencesNote(text);
  film.unreadNote = UnreadNote(film.result, text.symbol);
  return film;
}

}  // namespace tesmora
