#pragma once

#include <QString>
#include <optional>
#include <string>

#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/FrameReader.h"
#include "subtitles/SrtReader.h"
#include "subtitles/SubtitleFormats.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// How a subtitle file is to be read.
struct FilmRequest {
  QString path;
  std::string encoding = "auto";  // "auto" or a name iconv knows
  bool noMarkup = false;          // the text drawn exactly as written
  bool wrap = false;              // overlong lines broken at spaces
  // The rate of MicroDVD frames, in place of the file's own.
  std::optional<ChosenFrameRate> fps;
  // The character set of the style, whose code page reads 8-bit text; a
  // change of it calls for a new load.
  int charset = charset::kDefault;
  ListTexts listTexts = ListTexts::Made;
  // Whose styles draw the cues of a file that has its own (ASS, SSA).
  CueStyles styles = CueStyles::File;
  // `fps` is also the rate of the video a Blu-ray stream goes with, so a
  // file of times says nothing of it.
  bool rateOfTheVideo = false;
};

// A subtitle file as read: its cues in the file's order, their text in
// UTF-8, how it is drawn, and what the reading has to say.
struct LoadedFilm {
  // The format of the file, by its extension; none for a file of no format
  // read.
  const SubtitleFormat* format = nullptr;
  // The reader's cues, error, notes and unread timing lines; no cue and no
  // error for a file of no format read.
  SubtitleReadResult result;
  TextSource source;
  std::string encoding;      // what the text was read in; empty: the charset's code page
  std::string encodingNote;  // the encoding used, when it is not that code page
  std::string replacedNote;  // characters replaced by U+FFFD, with the first line
  std::string unreadNote;    // timing lines not understood, with the first; lines split by LF
};

// Reads and decodes the file and reads its cues with the reader of its
// format.
// An SRT file given a frame rate says in a note that it is not used. Throws
// SubtitleFileError when the file cannot be read and std::invalid_argument
// for an encoding that is not known.
LoadedFilm LoadFilm(const FilmRequest& request);

}  // namespace tesmora
