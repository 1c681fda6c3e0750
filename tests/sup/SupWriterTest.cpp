#include "sup/SupWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <iterator>

#include "sup/IoError.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;

class SupWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("tesmora-writer-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    target_ = folder_ / "Generated.sup";
  }
  void TearDown() override { fs::remove_all(folder_); }

  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string ErrorText(const std::function<void()>& action) {
    try {
      action();
    } catch (const IoError& error) {
      return error.what();
    }
    return "no error";
  }

  fs::path folder_;
  fs::path target_;
};

TEST_F(SupWriterTest, AppendsHeaderThenUnitForEveryPacketAndReplacesTheTarget) {
  Put(target_, "an earlier stream that is much longer than the new one");
  SupWriter writer;
  writer.open(target_);
  const std::uint8_t header[] = {'S', 'P', 1, 2, 3, 4, 0, 0, 0, 0};
  const std::uint8_t unit[] = {9, 8, 7};
  writer.writePacket(header, unit);
  writer.writePacket(header, unit);
  writer.close();
  const std::string one("SP\1\2\3\4\0\0\0\0\x09\x08\x07", 13);
  EXPECT_EQ(Contents(target_), one + one);
  EXPECT_FALSE(fs::exists(SupWriter::TemporaryPathFor(target_)));
}

TEST_F(SupWriterTest, NoPacketsGiveAnEmptyFile) {
  SupWriter writer;
  writer.open(target_);
  writer.close();
  ASSERT_TRUE(fs::exists(target_));
  EXPECT_EQ(fs::file_size(target_), 0u);
}

TEST_F(SupWriterTest, AnUnfinishedRunLeavesTheEarlierFileAndNoPartialFile) {
  Put(target_, "earlier");
  {
    SupWriter writer;
    writer.open(target_);
    const std::uint8_t bytes[] = {1, 2, 3};
    writer.writePacket(bytes, bytes);
    EXPECT_TRUE(fs::exists(SupWriter::TemporaryPathFor(target_)));
  }
  EXPECT_EQ(Contents(target_), "earlier");
  EXPECT_FALSE(fs::exists(SupWriter::TemporaryPathFor(target_)));
}

TEST_F(SupWriterTest, ReportsAMissingFolder) {
  SupWriter writer;
  EXPECT_EQ(ErrorText([&] { writer.open(folder_ / "gone" / "Generated.sup"); }), "File not found");
  EXPECT_FALSE(writer.isOpen());
}

TEST_F(SupWriterTest, AFailedRenameKeepsWhatWasThereAndCleansUp) {
  // A non-empty folder in the target's place cannot be replaced by a file.
  fs::create_directories(target_ / "inside");
  SupWriter writer;
  writer.open(target_);
  EXPECT_EQ(ErrorText([&] { writer.close(); }), "File is a folder");
  EXPECT_TRUE(fs::is_directory(target_ / "inside"));
  EXPECT_FALSE(fs::exists(SupWriter::TemporaryPathFor(target_)));
}

TEST_F(SupWriterTest, ReportsUseWithoutOpen) {
  SupWriter writer;
  const std::uint8_t bytes[] = {1};
  EXPECT_EQ(ErrorText([&] { writer.writePacket(bytes, bytes); }), "File not open");
  EXPECT_EQ(ErrorText([&] { writer.close(); }), "File not open");
}

TEST(IoErrorText, UsesTheRuntimeTextsForCommonFailures) {
  EXPECT_EQ(IoErrorText(ENOENT), "File not found");
  EXPECT_EQ(IoErrorText(EACCES), "File access denied");
  EXPECT_EQ(IoErrorText(EROFS), "File access denied");
  EXPECT_EQ(IoErrorText(ENOSPC), "Disk full");
  EXPECT_EQ(IoErrorText(EISDIR), "File is a folder");
  EXPECT_EQ(IoErrorText(EIO), "I/O error " + std::to_string(EIO));
}

}  // namespace
}  // namespace tesmora
