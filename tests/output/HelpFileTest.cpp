#include "output/HelpFile.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

const std::string kFolder = "/films/";

TEST(HelpMessage, EndsWithTheGeneratedFilesOnLinesOfTheirOwn) {
  EXPECT_EQ(
      HelpMessage(HelpCase::NoIfo, kFolder),
      "All Done !!! (Case : No Ifo)\rSince you didnt had any ifo, author your video with the "
      "generated sup using Ifoedit.\rAfter authoring the new dvd, load (the generated from "
      "Ifoedit) VTS_01_0.IFO on Ifoedit and press VTS_PGCITI and then VTS_PGC1.\rThen find the "
      "Color 0 Y Cr CB ,doubleclick it, and put the value: 00 80 80\rThen find the Color 1 Y Cr "
      "CB ,doubleclick it, and put the value: 55 80 80\rThen find the Color 2 Y Cr CB ,doubleclick "
      "it, and put the value: AA 80 80\rThen find the Color 3 Y Cr CB ,doubleclick it, and put "
      "the value: FF 80 80\rThen press save. Thats all.\r"
      "To author the dvd with free tools instead (tesmora-cli, FFmpeg and dvdauthor), see \"Making "
      "a DVD with free tools\" in Tesmora's README.\r\rGenerated Files:\r/films/"
      "Generated.sup\r/films/Tesmora_Help_File.txt");
  EXPECT_EQ(
      HelpMessage(HelpCase::MonocromaticIfo, kFolder),
      "All Done !!! (Case : Monocromatic Ifo)\rSince you had an ifo with no polycromatic palette "
      "support , Tesmora generated for you a sup with a generic pallette.\rJust author your video "
      "with the generated sup using Ifoedit.\rAfter authoring the new dvd, load (the generated "
      "from Ifoedit) VTS_01_0.IFO on Ifoedit and press VTS_PGCITI and then VTS_PGC1.\rThen find "
      "the Color 0 Y Cr CB ,doubleclick it, and put the value: 00 80 80\rThen find the Color 1 Y "
      "Cr CB ,doubleclick it, and put the value: 55 80 80\rThen find the Color 2 Y Cr CB "
      ",doubleclick it, and put the value: AA 80 80\rThen find the Color 3 Y Cr CB ,doubleclick "
      "it, and put the value: FF 80 80\rThen press save. Thats all.\r"
      "To author the dvd with free tools instead (tesmora-cli, FFmpeg and dvdauthor), see \"Making "
      "a DVD with free tools\" in Tesmora's README.\r\rGenerated Files:\r/films/"
      "Generated.sup\r/films/Tesmora_Help_File.txt");
  EXPECT_EQ(
      HelpMessage(HelpCase::WithIfo, kFolder),
      "All Done !!! (Case : With Ifo)\rSince you already had an ifo with polycromatic palette "
      "support , Tesmora generated for you a sup with the same ifo pallette.\rJust author your "
      "video with the generated sup using Ifoedit.\rAfter authoring the new dvd, load the "
      "original ifo (the ifo that you have loaded on Tesmora) on Ifoedit and press VTS_PGCITI "
      "and then VTS_PGC1.\rThen press Subtitle Color, Copy Colors from this PGC\rThen load (the "
      "generated from Ifoedit) VTS_01_0.IFO on Ifoedit and press VTS_PGCITI and then VTS_PGC1\r"
      "Then press Subtitle Color, Paste Colors into this PGC\rThen press save. Thats all.\r"
      "To author the dvd with free tools instead (tesmora-cli, FFmpeg and dvdauthor), see \"Making "
      "a DVD with free tools\" in Tesmora's README.\r\r"
      "Generated Files:\r/films/Generated.sup\r/films/Tesmora_Help_File.txt");
}

TEST(HelpFileLines, HaveTwoEmptyLinesBeforeTheGeneratedFiles) {
  const auto lines = HelpFileLines(HelpCase::MonocromaticIfo, kFolder);
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[8], "Then press save. Thats all.");
  EXPECT_EQ(lines[9],
            "To author the dvd with free tools instead (tesmora-cli, FFmpeg and dvdauthor), see "
            "\"Making a DVD with free tools\" in Tesmora's README.");
  EXPECT_EQ(lines[10], "");
  EXPECT_EQ(lines[11], "");
  EXPECT_EQ(lines[12], "Generated Files:");
  EXPECT_EQ(lines[13], "/films/Generated.sup");
  EXPECT_EQ(lines[14], "/films/Tesmora_Help_File.txt");
  EXPECT_EQ(HelpFileLines(HelpCase::NoIfo, kFolder).size(), 14u);
  EXPECT_EQ(HelpFileLines(HelpCase::WithIfo, kFolder).size(), 14u);
}

TEST(HelpFileLines, ListEveryGeneratedFileInTheGivenOrder) {
  const std::vector<std::string> files = {"/films/a.sup", "/films/a.idx", "/films/a.sub",
                                          "/films/a.rgb", "/films/Tesmora_Help_File.txt"};
  const auto lines = HelpFileLinesListing(HelpCase::WithIfo, files);
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[11], "Generated Files:");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 12, lines.end()), files);
  EXPECT_EQ(HelpFileLines(HelpCase::WithIfo, kFolder),
            HelpFileLinesListing(HelpCase::WithIfo,
                                 {"/films/Generated.sup", "/films/Tesmora_Help_File.txt"}));

  const std::string message = HelpMessageListing(HelpCase::NoIfo, files);
  EXPECT_EQ(message.substr(message.find("\r\rGenerated Files:")),
            "\r\rGenerated Files:\r/films/a.sup\r/films/a.idx\r/films/a.sub\r/films/a.rgb\r"
            "/films/Tesmora_Help_File.txt");
}

TEST(HelpFileText, EndsEveryLineWithCrLf) {
  EXPECT_EQ(HelpFileText({"one", "", "three"}), "one\r\n\r\nthree\r\n");
  EXPECT_EQ(HelpFileText({}), "");
}

}  // namespace
}  // namespace tesmora
