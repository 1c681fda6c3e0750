#pragma once

#include "subtitles/LineList.h"
#include "subtitles/SrtReader.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// Whether an ASS or SSA file's own styles draw its cues, or the window's
// style draws them all, as it draws SRT cues.
enum class CueStyles { File, Window };

// The script's own header, as the cues were read with it. A resolution the
// file leaves out is filled in the way players fill it in.
struct AssScriptInfo {
  int playResX = 0;
  int playResY = 0;
  int wrapStyle = 0;
  bool scaledBorderAndShadow = false;
};

struct AssReadResult {
  SubtitleReadResult read;
  AssScriptInfo info;
};

// Reads an ASS or SSA file's lines (already decoded to UTF-8) through
// libass's parser, so that the DVD and the HD target see the same events.
// Each Dialogue line becomes a cue, in file order: its times, its text split
// at \N (and at \n under WrapStyle 2; elsewhere \n is a blank), override
// blocks kept for the markup stage. With CueStyles::File each cue's look
// takes its style's font, size, flags, layer, alignment and margins, and a
// \pos (or where a \move starts) as its place, the \pos or \move leaving
// the text. Animated tags (\move, \t, \fad, karaoke) are drawn as at the
// cue's start and leave the text; brace notes without a backslash and
// drawings (\p1) are not drawn. Every such change is told once in `notes`,
// with a count and the line of the first, as are Comment lines, Dialogue
// lines libass cannot read, and a file whose cues ask for more than one
// text colour.
AssReadResult ReadAss(const LineList& lines, CueStyles styles,
                      ListTexts listTexts = ListTexts::Made);

}  // namespace tesmora
