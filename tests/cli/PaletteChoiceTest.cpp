// The palette of a run, as the window's IFO load gives it, and --palette.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cli/CliConsole.h"
#include "cli/CliPalette.h"
#include "palette/FallbackNotice.h"
#include "tests/cli/CliHarness.h"
#include "tests/palette/IfoBuilder.h"

namespace tesmora::cli {
namespace {

using testing::IfoBuilder;
using testing::RunConverter;

constexpr std::uint32_t kDarkGrey = 0x00108080;
constexpr std::uint32_t kMiddleGrey = 0x00808080;
constexpr std::uint32_t kLightGrey = 0x00EB8080;
constexpr std::uint32_t kYellow = 0x00D29210;  // R 235.2, G 235.7, B 11.5

const std::string kGenericListing =
    "0 000 000000\n"
    "1 858585 555555\n"
    "2 170170170 AAAAAA\n"
    "3 255255255 FFFFFF\n"
    "4 000000 000000\n"
    "5 000000 000000\n"
    "6 000000 000000\n"
    "7 000000 000000\n"
    "8 000000 000000\n"
    "9 000000 000000\n"
    "10 000000 000000\n"
    "11 000000 000000\n"
    "12 000000 000000\n"
    "13 000000 000000\n"
    "14 000000 000000\n"
    "15 000000 000000\n";

class PaletteChoiceTest : public ::testing::Test {
 protected:
  QString write(const IfoBuilder& ifo, const QString& name = "VTS_01_0.IFO") {
    const QString path = folder.filePath(name);
    IfoBuilder::Write(path.toStdString(), ifo.bytes());
    return path;
  }
  static IfoBuilder AllColour() {
    IfoBuilder ifo;
    ifo.entries.fill(kYellow);
    return ifo;
  }

  QTemporaryDir folder;
};

// Named so that `ctest -R cli` picks out the converter's suites.
using cliPaletteChoice = PaletteChoiceTest;

TEST_F(cliPaletteChoice, TakesEachRoleFromTheFirstGreyOfItsBand) {
  IfoBuilder ifo = AllColour();
  ifo.entries[3] = kDarkGrey;
  ifo.entries[5] = 0x00408080;  // a later dark grey
  ifo.entries[7] = kMiddleGrey;
  ifo.entries[9] = kLightGrey;
  ifo.entries[11] = 0x00FF8080;
  ifo.attributeByte = 0x40;
  const PaletteChoice choice = IfoChoice(write(ifo));
  EXPECT_EQ(choice.roles.background, 3);
  EXPECT_EQ(choice.roles.outline, 3);
  EXPECT_EQ(choice.roles.antialias, 7);
  EXPECT_EQ(choice.roles.text, 9);
  EXPECT_EQ(choice.helpCase, HelpCase::WithIfo);
  EXPECT_FALSE(choice.monochromeFallback);
  EXPECT_FALSE(choice.pal);
  EXPECT_EQ(choice.palette[4].hintText, "00D29210");
}

TEST_F(cliPaletteChoice, FallsBackToTheGenericPaletteWhenABandHasNoGrey) {
  IfoBuilder ifo = AllColour();
  ifo.entries[0] = kDarkGrey;
  ifo.entries[1] = kLightGrey;  // no middle grey
  const PaletteChoice choice = IfoChoice(write(ifo));
  EXPECT_TRUE(choice.monochromeFallback);
  EXPECT_EQ(choice.helpCase, HelpCase::MonocromaticIfo);
  EXPECT_EQ(choice.roles.antialias, 1);
  EXPECT_EQ(choice.roles.outline, 0);
  EXPECT_EQ(choice.roles.text, 3);
  EXPECT_EQ(choice.roles.background, 0);
  EXPECT_EQ(choice.palette[1].hintText, "858585");
  EXPECT_TRUE(choice.pal);  // the standard is still the file's
}

TEST_F(cliPaletteChoice, ListsEveryEntryWithItsHintAndColourThenTheStandard) {
  IfoBuilder ifo = AllColour();
  ifo.entries[0] = kDarkGrey;
  ifo.entries[1] = kMiddleGrey;
  ifo.entries[2] = kLightGrey;
  const auto outcome = RunConverter({"--palette", "--ifo", write(ifo)});
  EXPECT_EQ(outcome.code, 0);
  std::string expected = "0 00108080 101010\n1 00808080 808080\n2 00EB8080 EBEBEB\n";
  for (int n = 3; n < 16; ++n) {
    expected += std::to_string(n) + " 00D29210 EBEC0C\n";
  }
  expected += "PAL\n";
  EXPECT_EQ(outcome.out, expected);
  EXPECT_EQ(outcome.err, "");

  ifo.attributeByte = 0x40;
  const auto ntsc = RunConverter({"--palette", "--ifo", write(ifo, "NTSC.IFO")});
  EXPECT_EQ(ntsc.out.substr(ntsc.out.size() - 6), "\nNTSC\n");
}

TEST_F(cliPaletteChoice, ListsTheGenericPaletteForAFallbackAndSaysWhyOnStderr) {
  IfoBuilder ifo = AllColour();
  ifo.attributeByte = 0x40;
  const auto outcome = RunConverter({"--palette", "--ifo", write(ifo)});
  EXPECT_EQ(outcome.code, 0);
  EXPECT_EQ(outcome.out, kGenericListing + "NTSC\n");
  EXPECT_EQ(outcome.err, TerminalText(kMonochromeIfoNotice) + "\n");
  EXPECT_EQ(outcome.err.rfind("ATTENTION :\nYour loaded ifo has not a polycromatic", 0), 0u);
  EXPECT_EQ(outcome.err.find('\r'), std::string::npos);
}

TEST_F(cliPaletteChoice, ListsTheGenericPaletteOfTheChosenStandardWithoutIfo) {
  EXPECT_EQ(RunConverter({"--palette"}).out, kGenericListing + "PAL\n");
  EXPECT_EQ(RunConverter({"--palette", "--standard", "ntsc"}).out, kGenericListing + "NTSC\n");
}

TEST_F(cliPaletteChoice, RefusesAnIfoItCannotUseWithStatus1) {
  IfoBuilder manager = AllColour();
  manager.id = "DVDVIDEO-VMG";
  const auto notTitleSet = RunConverter({"--palette", "--ifo", write(manager, "VIDEO_TS.IFO")});
  EXPECT_EQ(notTitleSet.code, 1);
  EXPECT_EQ(notTitleSet.out, "");
  EXPECT_EQ(notTitleSet.err,
            "The file VIDEO_TS.IFO is not the IFO of a title set. Please load the IFO of the title "
            "set that gets the subtitles, a VTS_xx_0.IFO file such as VTS_01_0.IFO. Nothing was "
            "loaded.\n");

  IfoBuilder farTable = AllColour();
  farTable.tableSector = 40;
  std::vector<std::uint8_t> cut = farTable.bytes();
  cut.resize(4096);
  const QString cutPath = folder.filePath("VTS_02_0.IFO");
  IfoBuilder::Write(cutPath.toStdString(), cut);
  const auto truncated = RunConverter({"--ifo", cutPath, "film.srt"});
  EXPECT_EQ(truncated.code, 1);
  EXPECT_NE(truncated.err.find("VTS_02_0.IFO is not a complete title-set IFO"), std::string::npos)
      << truncated.err;

  const QString missing = folder.filePath("VTS_09_0.IFO");
  const auto absent = RunConverter({"--ifo", missing, "film.srt"});
  EXPECT_EQ(absent.code, 1);
  EXPECT_EQ(absent.err, "tesmora-cli: " + missing.toStdString() + ": File not found.\n");
}

}  // namespace
}  // namespace tesmora::cli
