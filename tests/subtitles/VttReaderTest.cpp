// The WebVTT reader: header, skipped blocks, cues with identifiers and
// settings, timestamps inside cues, and the placement settings ask for.
#include "subtitles/VttReader.h"

#include <gtest/gtest.h>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

SubtitleReadResult Read(std::string_view text) {
  return ReadVtt(SplitLines(text));
}

CuePlacement PlacementOf(std::string_view settings) {
  return ReadVttSettings(settings).placement;
}

// A file as a site hands it out: a title after WEBVTT, header metadata, a
// style sheet, a region, comments, speakers, classes, karaoke and settings.
constexpr std::string_view kCorpus =
    "\xEF\xBB\xBFWEBVTT - Harbour talk\n"
    "Kind: captions\n"
    "Language: en\n"
    "\n"
    "STYLE\n"
    "::cue(.loud) { color: yellow }\n"
    "\n"
    "REGION\n"
    "id:fred width:40% lines:3\n"
    "\n"
    "NOTE This file was made by hand\n"
    "and the note runs over two lines\n"
    "\n"
    "intro\n"
    "00:01.000 --> 00:04.500\n"
    "<v Ann>Where are you going?</v>\n"
    "<i>Home</i> &amp; <b>fast</b>\n"
    "\n"
    "01:00:02.250 --> 01:00:03.000 line:0 region:fred\n"
    "<c.loud>Top</c>\n"
    "\n"
    "NOTE another comment\n"
    "\n"
    "3\n"
    "00:05.000 --> 00:07.000 position:10% align:start size:50%\n"
    "Left <00:05.500>half <00:06.000>way\n"
    "\n"
    "00:07.000 --> 00:08.000 vertical:rl line:50%,center\n"
    "Sideways\n"
    "\n"
    "00:08.000 --> 00:09.000 line:-1 bogus:1\n"
    "Bottom\n";

TEST(VttReader, ReadsARealShapedFileWithItsCuesSettingsAndNotes) {
  const SubtitleReadResult read = Read(kCorpus);
  ASSERT_TRUE(read.error.empty()) << read.error;
  ASSERT_EQ(read.entries.size(), 5u);
  const auto cue = [&](std::size_t n) { return read.entries[n]; };
  EXPECT_EQ(cue(0).startMs, 1000);
  EXPECT_EQ(cue(0).durationMs, 3500);
  EXPECT_EQ(cue(0).lines,
            CueLines({"<v Ann>Where are you going?</v>", "<i>Home</i> &amp; <b>fast</b>"}));
  EXPECT_TRUE(cue(0).look.empty());
  EXPECT_EQ(cue(1).startMs, 3602250);
  EXPECT_EQ(cue(1).durationMs, 750);
  EXPECT_EQ(cue(1).lines, CueLines({"<c.loud>Top</c>"}));
  EXPECT_EQ(cue(2).lines, CueLines({"Left half way"}));
  EXPECT_EQ(cue(3).lines, CueLines({"Sideways"}));
  EXPECT_EQ(read.listTexts[0], "<v Ann>Where are you going?</v> | <i>Home</i> &amp; <b>fast</b>");
  EXPECT_EQ(read.listTexts.size(), 5u);

  CuePlacement top;
  top.alignment = 8;
  top.x = 0.5;
  top.width = 1.0;
  top.lineNumber = 0;
  EXPECT_EQ(cue(1).look.placement, top);
  CuePlacement left;
  left.alignment = 1;
  left.x = 0.1;
  left.width = 0.5;
  EXPECT_EQ(cue(2).look.placement, left);
  CuePlacement middle;
  middle.alignment = 5;
  middle.x = 0.5;
  middle.width = 1.0;
  middle.y = 0.5;
  EXPECT_EQ(cue(3).look.placement, middle);
  CuePlacement bottom = top;
  bottom.alignment = 2;
  bottom.lineNumber = -1;
  EXPECT_EQ(cue(4).look.placement, bottom);

  EXPECT_EQ(read.notes,
            (std::vector<std::string>{
                "Skipped 2 NOTE, 1 STYLE and 1 REGION blocks of the WebVTT file: comments, "
                "styles and regions are not drawn.",
                "2 timestamps inside cues (karaoke) were dropped: each cue shows its whole text "
                "from its start. The first is at line 26.",
                "1 cue asks for vertical text and is drawn horizontally; the first has its timing "
                "at line 28.",
                "2 cue settings were not used (unknown, invalid or a region); the first at line "
                "19: \"region:fred\"."}));
}

TEST(VttReader, TakesTheHeaderWithOrWithoutAByteOrderMarkAndRefusesAnyOther) {
  for (const std::string_view header : {"WEBVTT", "\xEF\xBB\xBFWEBVTT", "WEBVTT\ttitle"}) {
    const SubtitleReadResult read = Read(std::string(header) + "\n\n00:00.000 --> 00:01.000\nHi\n");
    EXPECT_TRUE(read.error.empty()) << header;
    EXPECT_EQ(read.entries.size(), 1u) << header;
  }
  for (const std::string_view bad :
       {"", "WEBVTTX\n\n00:00.000 --> 00:01.000\nHi\n", "1\n00:00:00,000 --> 00:00:01,000\nHi\n"}) {
    const SubtitleReadResult read = Read(bad);
    EXPECT_EQ(read.error,
              "Line 1 does not start with WEBVTT, so the file is no WebVTT file. Please check the "
              "file and load it again");
    EXPECT_TRUE(read.entries.empty());
    EXPECT_TRUE(read.notes.empty());
  }
}

TEST(VttReader, ReadsBothTimeShapesAndCountsTimingsItCannotRead) {
  EXPECT_EQ(ReadVttTime("00:01.000"), 1000);
  EXPECT_EQ(ReadVttTime("59:59.999"), 3599999);
  EXPECT_EQ(ReadVttTime("123:00:00.001"), 442800001);
  for (const char* bad : {"1:00.000", "00:60.000", "00:01,000", "00:01.00", "00:01.0000",
                          "00:00:00:01.000", "-00:01.000", "1234567890:00:00.000", ""}) {
    EXPECT_FALSE(ReadVttTime(bad)) << bad;
  }
  const SubtitleReadResult read = Read(
      "WEBVTT\n\n00:01,000 --> 00:02.000\nComma\n\nid\n00:03.000 --> 00:04.000\nGood\n"
      "Look --> there\n\nno timing\nhere either\n\n00:05.000 --> 00:06.000\n\n");
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.entries[0].lines, CueLines({"Good"}));
  // A line with an arrow ends a cue's text and is read as the next timing.
  EXPECT_EQ(read.unreadTimingLines, 2);
  EXPECT_EQ(read.firstUnreadLineNumber, 3);
  EXPECT_EQ(read.firstUnreadLine, "00:01,000 --> 00:02.000");
  EXPECT_EQ(read.notes,
            (std::vector<std::string>{
                "1 block has no timing line and was left out; the first starts at line 11.",
                "1 subtitle has no text and was left out; the first has its timing at line 14."}));
}

TEST(VttReader, PlacesTheBoxAsBrowsersWorkItOut) {
  // No settings: placed as an SRT cue.
  EXPECT_EQ(PlacementOf(""), CuePlacement{});
  // The box is cut to what fits beside the position: centred at 10%, it is
  // 20% wide; at 80% growing right, 20%.
  CuePlacement centred = PlacementOf("position:10%");
  EXPECT_EQ(centred.alignment, 2);
  EXPECT_DOUBLE_EQ(*centred.width, 0.2);
  EXPECT_DOUBLE_EQ(*centred.x, 0.1);
  const CuePlacement right = PlacementOf("position:80%,line-left align:end");
  EXPECT_EQ(right.alignment, 3);
  EXPECT_DOUBLE_EQ(*right.width, 0.2);
  EXPECT_DOUBLE_EQ(*right.x, 1.0);
  // Text centred in a box that stands left of its position.
  const CuePlacement box = PlacementOf("position:60%,line-right size:40% align:center");
  EXPECT_DOUBLE_EQ(*box.x, 0.4);
  EXPECT_DOUBLE_EQ(*box.width, 0.4);
  // align alone: the box fills the frame, the text at its edge.
  EXPECT_DOUBLE_EQ(*PlacementOf("align:right").x, 1.0);
  EXPECT_DOUBLE_EQ(*PlacementOf("align:left").x, 0.0);
  // Percentages place the box's start, centre or end; numbers count lines.
  EXPECT_EQ(PlacementOf("line:20%").alignment, 8);
  EXPECT_EQ(PlacementOf("line:20%,end").alignment, 2);
  EXPECT_DOUBLE_EQ(*PlacementOf("line:12.5%").y, 0.125);
  EXPECT_EQ(PlacementOf("line:3").lineNumber, 3);
  EXPECT_EQ(PlacementOf("line:-2").alignment, 2);
  // Settings that do not read are listed and change nothing.
  const VttSettings bad = ReadVttSettings(
      "line:101% line:1,start size:-5% position:x align:middle nonsense vertical:up");
  EXPECT_EQ(bad.placement, CuePlacement{});
  EXPECT_EQ(bad.ignored,
            (std::vector<std::string>{"line:101%", "line:1,start", "size:-5%", "position:x",
                                      "align:middle", "nonsense", "vertical:up"}));
  EXPECT_FALSE(bad.vertical);
}

}  // namespace
}  // namespace tesmora
