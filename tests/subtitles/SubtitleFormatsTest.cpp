#include "subtitles/SubtitleFormats.h"

#include <gtest/gtest.h>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

TEST(SubtitleFormats, ChoosesTheReaderByTheExtensionInAnyCase) {
  ASSERT_NE(FormatOfFile("film.srt"), nullptr);
  EXPECT_EQ(FormatOfFile("film.srt")->name, "SRT");
  EXPECT_EQ(FormatOfFile("/a/b/FILM.Srt")->name, "SRT");
  EXPECT_EQ(FormatOfFile("film.sub")->name, "MicroDVD");
  EXPECT_EQ(FormatOfFile("film.TXT")->name, "MicroDVD");
  EXPECT_EQ(FormatOfFile("film.sub")->dialect, MarkupDialect::MicroDvd);
  EXPECT_EQ(FormatOfFile("film.srt")->dialect, MarkupDialect::Srt);
  // Bytes of a name in another encoding are no obstacle.
  EXPECT_EQ(FormatOfFile("caf\xe9.srt")->name, "SRT");
  for (const char* other : {"film", "film.srt.bak", "film.idx", "dir.srt/film", "film.", ""}) {
    EXPECT_EQ(FormatOfFile(other), nullptr) << other;
  }
}

TEST(SubtitleFormats, NamesEveryFormatReadWithItsExtensions) {
  EXPECT_EQ(ReadableFormatsText(),
            "SRT files (.srt), MicroDVD files (.sub, .txt), WebVTT files (.vtt) and ASS/SSA files "
            "(.ass, .ssa)");
  // The window's file dialog offers exactly the files it can load.
  EXPECT_EQ(FileDialogPattern(), "*.srt;*.sub;*.txt;*.vtt;*.ass;*.ssa");
  EXPECT_EQ(FormatOfFile("talk.VTT")->name, "WebVTT");
  EXPECT_EQ(FormatOfFile("talk.vtt")->dialect, MarkupDialect::WebVtt);
}

TEST(SubtitleFormats, EachReaderReadsItsOwnFilesAndAFormatOfTimesIgnoresARate) {
  const ChosenFrameRate rate{*ParseFrameRate("25"), "25"};
  const LineList srt = SplitLines("1\n00:00:01,000 --> 00:00:02,000\nHello\n");
  const SubtitleReadResult fromSrt = FormatOfFile("a.srt")->read(srt, {rate, ListTexts::Made});
  ASSERT_EQ(fromSrt.entries.size(), 1u);
  EXPECT_EQ(fromSrt.entries[0].startMs, 1000);
  EXPECT_EQ(fromSrt.notes,
            std::vector<std::string>{
                "The frame rate 25 is not used: an SRT file gives times, not frames."});

  const LineList frames = SplitLines("{25}{50}Hello\n");
  const SubtitleReadResult fromFrames =
      FormatOfFile("a.sub")->read(frames, {rate, ListTexts::Made});
  ASSERT_EQ(fromFrames.entries.size(), 1u);
  EXPECT_EQ(fromFrames.entries[0].startMs, 1000);
  EXPECT_TRUE(fromFrames.notes.empty());

  const LineList vtt = SplitLines("WEBVTT\n\n00:01.000 --> 00:02.000\nHello\n");
  const SubtitleReadResult fromVtt = FormatOfFile("a.vtt")->read(vtt, {rate, ListTexts::Made});
  ASSERT_EQ(fromVtt.entries.size(), 1u);
  EXPECT_EQ(fromVtt.notes,
            std::vector<std::string>{
                "The frame rate 25 is not used: a WebVTT file gives times, not frames."});

  const LineList ass = SplitLines(
      "[Script Info]\nScriptType: v4.00+\n\n[Events]\nFormat: Layer, Start, End, Style, Text\n"
      "Dialogue: 0,0:00:01.00,0:00:02.00,Default,Hello\n");
  const SubtitleReadResult fromAss = FormatOfFile("a.ass")->read(ass, {rate, ListTexts::Made});
  ASSERT_EQ(fromAss.entries.size(), 1u);
  EXPECT_EQ(fromAss.notes.back(),
            "The frame rate 25 is not used: an ASS or SSA file gives times, not frames.");

  // Without a rate given, nothing is said about one.
  EXPECT_TRUE(FormatOfFile("a.srt")->read(srt, {std::nullopt, ListTexts::Made}).notes.empty());
}

}  // namespace
}  // namespace tesmora
