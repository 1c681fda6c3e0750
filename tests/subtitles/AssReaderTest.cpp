#include "subtitles/AssReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

std::vector<std::string> Lines(const SubtitleEntry& entry) {
  return {entry.lines.begin(), entry.lines.end()};
}

// Three styles, a Comment, a sign over dialogue, \pos, \an8, \N, karaoke, a
// soft break and a note in braces. Dialogue lines are 17 to 21.
constexpr const char* kAss =
    "[Script Info]\n"
    "ScriptType: v4.00+\n"
    "PlayResX: 640\n"
    "PlayResY: 360\n"
    "WrapStyle: 0\n"
    "ScaledBorderAndShadow: yes\n"
    "\n"
    "[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,DejaVu Sans,36,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,"
    "100,0,0,1,2,0,2,20,20,18,1\n"
    "Style: Sign,DejaVu Serif,24,&H0000FFFF,&H000000FF,&H00000000,&H00000000,-1,0,0,0,100,100,"
    "0,0,1,2,0,8,10,10,30,1\n"
    "Style: Shout,@DejaVu Sans,36,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,-1,-1,-1,-1,100,"
    "100,0,0,1,2,0,2,20,20,18,1\n"
    "\n"
    "[Events]\n"
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Comment: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,Timing check\n"
    "Dialogue: 0,0:00:01.00,0:00:04.00,Default,,0,0,0,,Where are we going?\\NTo the lake.\n"
    "Dialogue: 1,0:00:02.00,0:00:05.00,Sign,,0,0,0,,{\\pos(320,40)}LAKE ROAD\n"
    "Dialogue: 0,0:00:06.00,0:00:08.50,Default,,0,0,0,,{\\an8}Top of the screen\n"
    "Dialogue: 0,0:00:09.00,0:00:12.00,Shout,,40,0,0,,{\\k50}La {\\k50}la {\\kf100}la\n"
    "Dialogue: 0,0:00:13.00,0:00:14.00,Default,,0,0,0,,{\\i1}soft\\nbreak{\\i0}{TL: a pun}\n";

CueLook DefaultLook() {
  CueLook look;
  look.font = {"Default", "DejaVu Sans", 36.0 / 360, false, false, false, false, 0};
  look.placement.alignment = 2;
  look.placement.marginLeft = 20.0 / 640;
  look.placement.marginRight = 20.0 / 640;
  look.placement.marginVertical = 18.0 / 360;
  return look;
}

TEST(AssReader, ReadsStylesPlacesAndTextsOfEachDialogueLine) {
  const std::string text = kAss;
  const AssReadResult result = ReadAss(SplitLines(text), CueStyles::File);
  EXPECT_EQ(result.info.playResX, 640);
  EXPECT_EQ(result.info.playResY, 360);
  EXPECT_EQ(result.info.wrapStyle, 0);
  EXPECT_TRUE(result.info.scaledBorderAndShadow);
  const SubtitleReadResult& read = result.read;
  EXPECT_EQ(read.error, "");
  ASSERT_EQ(read.entries.size(), 5u);

  const SubtitleEntry& dialogue = read.entries[0];
  EXPECT_EQ(dialogue.startMs, 1000);
  EXPECT_EQ(dialogue.durationMs, 3000);
  EXPECT_EQ(Lines(dialogue), (std::vector<std::string>{"Where are we going?", "To the lake."}));
  EXPECT_EQ(dialogue.look, DefaultLook());

  // The sign overlaps the dialogue, one layer above it, at its \pos.
  const SubtitleEntry& sign = read.entries[1];
  EXPECT_EQ(sign.startMs, 2000);
  EXPECT_EQ(Lines(sign), std::vector<std::string>{"LAKE ROAD"});
  CueLook signLook;
  signLook.font = {"Sign", "DejaVu Serif", 24.0 / 360, true, false, false, false, 1};
  signLook.placement.alignment = 8;
  signLook.placement.x = 0.5;
  signLook.placement.y = 40.0 / 360;
  signLook.placement.marginLeft = 10.0 / 640;
  signLook.placement.marginRight = 10.0 / 640;
  signLook.placement.marginVertical = 30.0 / 360;
  EXPECT_EQ(sign.look, signLook);

  // \an8 stays for the markup stage and also sets the placement.
  const SubtitleEntry& top = read.entries[2];
  EXPECT_EQ(top.durationMs, 2500);
  EXPECT_EQ(Lines(top), std::vector<std::string>{"{\\an8}Top of the screen"});
  CueLook topLook = DefaultLook();
  topLook.placement.alignment = 8;
  EXPECT_EQ(top.look, topLook);

  // Karaoke is drawn whole; the event's own margin holds over the style's;
  // a vertical font's "@" is dropped.
  const SubtitleEntry& karaoke = read.entries[3];
  EXPECT_EQ(Lines(karaoke), std::vector<std::string>{"La la la"});
  CueLook shout = DefaultLook();
  shout.font = {"Shout", "DejaVu Sans", 36.0 / 360, true, true, true, true, 0};
  shout.placement.marginLeft = 40.0 / 640;
  EXPECT_EQ(karaoke.look, shout);

  // \n is a blank outside WrapStyle 2; a note in braces is not drawn.
  EXPECT_EQ(Lines(read.entries[4]), std::vector<std::string>{"{\\i1}soft break{\\i0}"});

  EXPECT_EQ(read.listTexts[0], "Where are we going? | To the lake.");
  EXPECT_EQ(read.notes, (std::vector<std::string>{
                            "A Comment line was skipped (line 16).",
                            "The file's styles use 2 text colours; the subtitles are drawn in "
                            "the window's four colours.",
                            "A subtitle uses karaoke (\\k), drawn as at its start (line 20).",
                            "A note in braces is not drawn, as players do not (line 21).",
                        }));
}

TEST(AssReader, WindowStylesLeaveLooksEmptyAndPositionsInTheText) {
  const std::string text = kAss;
  const SubtitleReadResult read = ReadAss(SplitLines(text), CueStyles::Window).read;
  ASSERT_EQ(read.entries.size(), 5u);
  for (const SubtitleEntry& entry : read.entries) {
    EXPECT_TRUE(entry.look.empty());
  }
  // Drawn as an SRT cue holding it: the markup stage tells that \pos is not
  // followed.
  EXPECT_EQ(Lines(read.entries[1]), std::vector<std::string>{"{\\pos(320,40)}LAKE ROAD"});
  EXPECT_EQ(Lines(read.entries[3]), std::vector<std::string>{"La la la"});
  EXPECT_EQ(read.notes.size(), 3u);  // the colours are the window's by choice
}

TEST(AssReader, ReadsSsaV4StylesWithTheirAlignmentNumbers) {
  const std::string text =
      "[Script Info]\n"
      "ScriptType: v4.00\n"
      "PlayResY: 288\n"
      "WrapStyle: 2\n"
      "\n"
      "[V4 Styles]\n"
      "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, "
      "BackColour, Bold, Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
      "MarginV, AlphaLevel, Encoding\n"
      "Style: Default,Arial,20,16777215,65535,65535,0,0,0,1,2,0,2,30,30,10,0,0\n"
      "Style: Top,Arial,24,16777215,65535,65535,0,-1,-1,1,2,0,6,30,30,10,0,0\n"
      "Style: Mid,Arial,20,16777215,65535,65535,0,0,0,1,2,0,9,30,30,10,0,0\n"
      "\n"
      "[Events]\n"
      "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
      "Dialogue: Marked=0,0:00:01.50,0:00:03.00,Default,,0000,0000,0000,,Plain\\nline\n"
      "Dialogue: Marked=0,0:00:04.00,0:00:05.00,Top,,0000,0000,0000,,{\\a5}Legacy top left\n"
      "Dialogue: Marked=0,0:00:06.00,0:00:07.00,Mid,,0000,0000,0000,,Middle left\n"
      "Dialogue: Marked=0,0:00:08.00,0:00:09.00,Default,,0000,0000,0000,,"
      "{\\move(10,20,100,200)\\fad(200,200)}Moving\n"
      "Dialogue: Marked=0,0:00:10.00,0:00:11.00,Mid,,0000,0000,0000,,"
      "{\\move(0,0,9,9)\\t(0,500,\\fs40)\\p1}m 0 0 l 10 0 10 10{\\p0}\n";
  const AssReadResult result = ReadAss(SplitLines(text), CueStyles::File);
  // The width follows the height at 4:3, as players complete it.
  EXPECT_EQ(result.info.playResX, 384);
  EXPECT_EQ(result.info.wrapStyle, 2);
  const SubtitleReadResult& read = result.read;
  ASSERT_EQ(read.entries.size(), 4u);
  EXPECT_EQ(read.entries[0].startMs, 1500);
  EXPECT_EQ(read.entries[0].durationMs, 1500);
  EXPECT_EQ(Lines(read.entries[0]), (std::vector<std::string>{"Plain", "line"}));
  EXPECT_EQ(read.entries[0].look.placement.alignment, 2);
  EXPECT_EQ(read.entries[0].look.font.height, 20.0 / 288);
  // SSA's 6 is top centre, 9 middle left; \a5 top left.
  EXPECT_EQ(read.entries[1].look.placement.alignment, 7);
  EXPECT_EQ(read.entries[1].look.font.bold, true);
  EXPECT_EQ(read.entries[1].look.font.italic, true);
  EXPECT_EQ(read.entries[2].look.placement.alignment, 4);
  // A \move is drawn where it starts.
  EXPECT_EQ(Lines(read.entries[3]), std::vector<std::string>{"Moving"});
  EXPECT_EQ(read.entries[3].look.placement.x, 10.0 / 384);
  EXPECT_EQ(read.entries[3].look.placement.y, 20.0 / 288);
  EXPECT_EQ(read.notes, (std::vector<std::string>{
                            "A subtitle has no text to draw and was left out (line 18).",
                            "2 subtitles use \\move, each drawn as at its start; the first is "
                            "at line 17.",
                            "A subtitle uses \\t, drawn as at its start (line 18).",
                            "A subtitle uses \\fad, drawn as at its start (line 17).",
                            "A drawing (\\p) cannot be drawn and was left out (line 18).",
                        }));
}

TEST(AssReader, TellsWhatItCannotReadAndFindsNoCueInAFileWithoutEvents) {
  const std::string text =
      "[Script Info]\nPlayResX: 1280\n[Events]\n"
      "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
      "Dialogue: broken\n"
      "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,First\n"
      "Dialogue: 0,0:00:03.00,0:00:04.00,Nowhere,,0,0,0,,Unknown style\n"
      "Dialogue: also broken\n";
  const AssReadResult result = ReadAss(SplitLines(text), CueStyles::File);
  EXPECT_EQ(result.info.playResY, 1024);
  const SubtitleReadResult& read = result.read;
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(Lines(read.entries[1]), std::vector<std::string>{"Unknown style"});
  EXPECT_EQ(read.notes, std::vector<std::string>{
                            "2 Dialogue lines could not be read and were left out; the first is "
                            "at line 5."});

  for (const char* other : {"", "1\n00:00:01,000 --> 00:00:02,000\nHello\n"}) {
    const SubtitleReadResult none = ReadAss(SplitLines(other), CueStyles::File).read;
    EXPECT_TRUE(none.entries.empty());
    EXPECT_EQ(none.error, "");
    EXPECT_TRUE(none.notes.empty());
  }
}

}  // namespace
}  // namespace tesmora
