#include "conversion/FilmLoad.h"

#include "files/FileNames.h"
#include "subtitles/DecodingNotes.h"
#include "subtitles/FileText.h"
#include "subtitles/SubtitleFile.h"
#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

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

LoadedFilm LoadFilm(const FilmRequest& request) {
  LoadedFilm film;
  const std::string path = FileNameBytes(request.path).toStdString();
  film.format = FormatOfFile(path);
  // The file's bytes are let go once decoded, before the cues are read: every
  // cue leaves here as UTF-8 text.
  const FileText text =
      DecodeSubtitleFile(ReadSubtitleFileBytes(path), request.encoding, request.charset);
  const LineList lines = SplitLines(text.text);
  if (film.format) {
    film.result = film.format->read(
        lines, {request.fps, request.listTexts, request.styles, request.rateOfTheVideo});
  }
  if (text.symbol) {
    SymbolCueLines(film.result.entries);
  }
  const MarkupDialect dialect =
      request.noMarkup || !film.format ? MarkupDialect::Literal : film.format->dialect;
  film.source = {dialect, request.wrap, text.symbol};
  film.encoding = text.encoding;
  film.encodingNote = EncodingUsedNote(text);
  film.replacedNote = InvalidSequencesNote(text);
  film.unreadNote = UnreadNote(film.result, text.symbol);
  return film;
}

}  // namespace tesmora
