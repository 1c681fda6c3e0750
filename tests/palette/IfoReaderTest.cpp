#include "palette/IfoReader.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/IoError.h"
#include "tests/palette/IfoBuilder.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;

class IfoReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("tesmora-ifo-" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path write(const std::vector<std::uint8_t>& bytes, const char* name = "VTS_01_0.IFO") {
    const fs::path path = folder / name;
    testing::IfoBuilder::Write(path, bytes);
    return path;
  }

  template <typename Error>
  static std::string ErrorText(const std::function<void()>& action) {
    try {
      action();
    } catch (const Error& error) {
      return error.what();
    }
    return "no error";
  }

  fs::path folder;
};

TEST_F(IfoReaderTest, ReadsTheFirstChainsColoursAndTheStandard) {
  testing::IfoBuilder ifo;
  ifo.tableSector = 3;
  ifo.chainStart = 0x1234;
  for (std::uint32_t n = 0; n < 16; ++n) {
    ifo.entries[n] = 0x00108080 + n * 0x00010000;
  }
  ifo.entries[15] = 0x01EB8080;
  const IfoPaletteData data = ReadIfoPalette(write(ifo.bytes()));
  EXPECT_EQ(data.entries, ifo.entries);
  EXPECT_TRUE(data.isPal());

  ifo.attributeByte = 0x40;
  EXPECT_FALSE(ReadIfoPalette(write(ifo.bytes())).isPal());
}

TEST_F(IfoReaderTest, RefusesAFileThatEndsBeforeThePalette) {
  testing::IfoBuilder ifo;
  std::vector<std::uint8_t> bytes = ifo.bytes();
  bytes.resize(static_cast<std::size_t>(ifo.colourTableAt()) + 63);  // one byte short
  const std::string expected =
      "The file VTS_01_0.IFO is not a complete title-set IFO: it ends before the subtitle "
      "palette it points to. Nothing was loaded.";
  EXPECT_EQ(ErrorText<IfoFormatError>([&] { ReadIfoPalette(write(bytes)); }), expected);

  // A table sector far beyond the end.
  std::vector<std::uint8_t> far = testing::IfoBuilder().bytes();
  testing::IfoBuilder::Put32(far, 204, 0xFFFFFFFF);
  EXPECT_EQ(ErrorText<IfoFormatError>([&] { ReadIfoPalette(write(far)); }), expected);

  // Too short even for the video attributes.
  EXPECT_EQ(ErrorText<IfoFormatError>([&] {
              ReadIfoPalette(write(std::vector<std::uint8_t>{'D', 'V', 'D', 'V', 'I', 'D', 'E', 'O',
                                                             '-', 'V', 'T', 'S', 0, 0}));
            }),
            expected);
}

TEST_F(IfoReaderTest, RefusesAFileThatIsNotATitleSet) {
  testing::IfoBuilder menu;
  menu.id = "DVDVIDEO-VMG";
  const std::string expected =
      "The file VIDEO_TS.IFO is not the IFO of a title set. Please load the IFO of the title set "
      "that gets the subtitles, a VTS_xx_0.IFO file such as VTS_01_0.IFO. Nothing was loaded.";
  EXPECT_EQ(ErrorText<IfoFormatError>([&] { ReadIfoPalette(write(menu.bytes(), "VIDEO_TS.IFO")); }),
            expected);
  EXPECT_EQ(ErrorText<IfoFormatError>([&] {
              ReadIfoPalette(write({'D', 'V', 'D'}, "VIDEO_TS.IFO"));
            }),
            expected);
  EXPECT_EQ(ErrorText<IfoFormatError>([&] { ReadIfoPalette(write({}, "VIDEO_TS.IFO")); }),
            expected);
}

TEST_F(IfoReaderTest, ReportsAMissingFileWithTheRuntimeText) {
  EXPECT_EQ(ErrorText<IoError>([&] { ReadIfoPalette(folder / "VTS_09_0.IFO"); }), "File not found");
}

}  // namespace
}  // namespace tesmora
