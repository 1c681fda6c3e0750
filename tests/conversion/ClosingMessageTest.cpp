// The converter's closing message names the choices that changed times or
// flags, and is the help text alone without them.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/cli/CliHarness.h"

namespace tesmora {
namespace {

TEST(ClosingMessage, NamesAShiftAConversionAndForcedOnlyWhenInForce) {
  QTemporaryDir dir;
  const QString film = dir.filePath("film.srt");
  testing::WriteBytes(film, "1\n00:00:01,000 --> 00:00:02,000\nHello\n\n");
  const testing::CliOutcome plain = testing::RunConverter({film});
  ASSERT_EQ(plain.code, 0) << plain.err;
  EXPECT_EQ(plain.out.find("Choices in force"), std::string::npos);
  EXPECT_TRUE(plain.out.ends_with("/Tesmora_Help_File.txt\n")) << plain.out;

  const testing::CliOutcome changed =
      testing::RunConverter({"--shift", "-500", "--convert-fps", "23.976:25", "--forced", film});
  ASSERT_EQ(changed.code, 0) << changed.err;
  EXPECT_EQ(changed.out.substr(changed.out.find("Tesmora_Help_File.txt\n")),
            "Tesmora_Help_File.txt\n\nChoices in force that changed times or flags: frame rate "
            "converted 23.976:25, times shifted by -500 ms, every subtitle marked forced.\n");
}

}  // namespace
}  // namespace tesmora
