#include "subtitles/SubtitleFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace tesmora {
namespace {

namespace fs = std::filesystem;

class SubtitleFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tesmora-subtitle-file-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path write(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return folder_ / name;
  }
  std::string messageFor(const fs::path& path) const {
    try {
      ReadSubtitleFileBytes(path);
    } catch (const SubtitleFileError& error) {
      return error.what();
    }
    return "read";
  }

  fs::path folder_;
};

TEST_F(SubtitleFileTest, ReadsTheWholeFileByteForByte) {
  const std::string bytes("1\r\n00:00:01,000 --> 00:00:02,000\r\n\0\xFF\r\n", 38);
  EXPECT_EQ(ReadSubtitleFileBytes(write("film.srt", bytes)), bytes);
  EXPECT_EQ(ReadSubtitleFileBytes(write("empty.srt", "")), "");
}

TEST_F(SubtitleFileTest, RefusesWhatIsNoRegularFileBeforeOpeningIt) {
  const fs::path fifo = folder_ / "pipe.srt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Opening the pipe would block for ever without a writer.
  EXPECT_EQ(messageFor(fifo), "Cannot open file " + fifo.string() + ": it is not a regular file");
  EXPECT_EQ(messageFor("/dev/zero"), "Cannot open file /dev/zero: it is not a regular file");
  EXPECT_EQ(messageFor(folder_),
            "Cannot open file " + folder_.string() + ": it is not a regular file");
  EXPECT_EQ(messageFor(folder_ / "missing.srt"),
            "Cannot open file " + (folder_ / "missing.srt").string());
}

TEST_F(SubtitleFileTest, RefusesAFileLargerThan64MiBWithoutReadingIt) {
  const fs::path large = write("large.srt", "");
  fs::resize_file(large, kMaxSubtitleFileBytes + 1);  // sparse: takes no disk room
  EXPECT_EQ(messageFor(large), "Cannot open file " + large.string() +
                                   ": it holds 67108865 bytes, more than the 64 MiB a subtitle "
                                   "file may hold");
  fs::resize_file(large, kMaxSubtitleFileBytes);
  EXPECT_EQ(ReadSubtitleFileBytes(large).size(), kMaxSubtitleFileBytes);
}

}  // namespace
}  // namespace tesmora
