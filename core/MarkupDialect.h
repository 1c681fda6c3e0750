#pragma once

namespace tesmora {

// The markup a cue's text is read with: a property of the subtitle format
// it comes from, or none when the user wants the text as written.
enum class MarkupDialect {
  Srt,       // SRT and WebVTT tags such as <i>, and ASS override blocks such as {\an8}
  WebVtt,    // WebVTT tags such as <i> and <v Name>, and character references such as &amp;
  MicroDvd,  // MicroDVD control codes such as {y:i} and a leading "/", the SRT tags, \N and \h
  Literal,   // none: the text is drawn exactly as written
};

}  // namespace tesmora
