#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/MarkupDialect.h"
#include "subtitles/AssReader.h"
#include "subtitles/FrameReader.h"
#include "subtitles/LineList.h"
#include "subtitles/SrtReader.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// What a reader may be given besides the file's lines.
struct ReadOptions {
  // The rate of frames, in place of the file's own; a format of times says
  // in a note that it is not used.
  std::optional<ChosenFrameRate> fps;
  ListTexts listTexts = ListTexts::Made;
  // Whose styles draw the cues of a format that has its own (ASS and SSA).
  CueStyles styles = CueStyles::File;
  // The rate is also the video's (a Blu-ray stream's), where it is used, so
  // a format of times makes no note of it.
  bool rateOfTheVideo = false;
};

// One subtitle format Tesmora reads: its name, the extensions that name its
// files (upper case, dot included), the markup of its cues and its reader.
struct SubtitleFormat {
  std::string_view name;
  std::span<const std::string_view> extensions;
  MarkupDialect dialect;
  SubtitleReadResult (*read)(const LineList& lines, const ReadOptions& options);
};

// Every format read, in the order they are named to the user.
std::span<const SubtitleFormat> SubtitleFormats();

// The format of a file, chosen by its extension in any case; none for a
// file of no format read.
const SubtitleFormat* FormatOfFile(std::string_view path);

// Every extension read, as a file dialog's pattern:
// "*.srt;*.sub;*.txt;*.vtt;*.ass;*.ssa".
std::string FileDialogPattern();

// Every extension read, in lower case, as a list the user is told:
// ".srt, .sub, .txt, .vtt, .ass, .ssa" with `last` ", ", or ending in
// " or .ssa" with `last` " or ".
std::string ExtensionsText(std::string_view last);

// The formats as the user is told them: "SRT files (.srt) and MicroDVD
// files (.sub, .txt)".
std::string ReadableFormatsText();

}  // namespace tesmora
