// Writing output files: whole or not at all, in a file of our own that no
// other run and no planted link can share.
#include "output/OutputFileSet.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <functional>
#include <thread>

#include "core/IoError.h"
#include "files/FolderLocks.h"
#include "files/OutputFileError.h"
#include "files/TemporaryName.h"
#include "tests/files/ChildProcess.h"
#include "tests/files/ImmutableFile.h"
#include "tests/files/TestFolder.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

class OutputFileSetTest : public testing::TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    stream_ = folder_ / "Generated.sup";
    help_ = folder_ / "Tesmora_Help_File.txt";
  }
  // The error text and the file it names, of an action that must fail.
  static std::pair<std::string, fs::path> Failure(const std::function<void()>& action) {
    try {
      action();
    } catch (const OutputFileError& error) {
      return {error.what(), error.target()};
    }
    return {"no error", {}};
  }

  fs::path stream_;
  fs::path help_;
};

TEST_F(OutputFileSetTest, ReplacesEveryTargetWithExactlyItsBytes) {
  Put(stream_, "an earlier stream that is much longer than the new one");
  OutputFileSet outputs;
  PendingFile& stream = outputs.add(stream_);
  PendingFile& help = outputs.add(help_);
  const std::uint8_t header[] = {'S', 'P', 1, 2, 3, 4, 0, 0, 0, 0};
  const std::uint8_t unit[] = {9, 8, 7};
  stream.write(header);
  stream.write(unit);
  stream.write(header);
  help.write("line\r\n");
  outputs.commit();
  EXPECT_EQ(Contents(stream_), std::string("SP\1\2\3\4\0\0\0\0\x09\x08\x07SP\1\2\3\4\0\0\0\0", 23));
  EXPECT_EQ(Contents(help_), "line\r\n");
  EXPECT_EQ(Entries(), (Names{"Generated.sup", "Tesmora_Help_File.txt"}));
}

TEST_F(OutputFileSetTest, WritesLargeFilesAndEmptyFilesWhole) {
  std::string large;
  for (int i = 0; i < 300000; ++i) {
    large += static_cast<char>(i * 7 % 251);
  }
  OutputFileSet outputs;
  PendingFile& stream = outputs.add(stream_);
  outputs.add(help_);
  for (std::size_t at = 0; at < large.size(); at += 1000) {
    stream.write(std::string_view(large).substr(at, 1000));
  }
  outputs.commit();
  EXPECT_EQ(Contents(stream_), large);
  ASSERT_TRUE(fs::exists(help_));
  EXPECT_EQ(fs::file_size(help_), 0u);
}

TEST_F(OutputFileSetTest, WritesIntoAHiddenFileOfOursBesideTheTarget) {
  Put(stream_, "earlier");
  {
    OutputFileSet outputs;
    PendingFile& stream = outputs.add(stream_);
    stream.write("new bytes");
    const fs::path temporary = stream.temporaryPath();
    EXPECT_EQ(temporary.parent_path(), folder_);
    EXPECT_TRUE(IsTemporaryName(temporary.filename().string())) << temporary;
    EXPECT_EQ(temporary.filename().string().rfind(".Generated.sup.tesmora-", 0), 0u);
    EXPECT_TRUE(fs::exists(temporary));
  }
  // Never committed: the earlier file stays and no temporary file is left.
  EXPECT_EQ(Contents(stream_), "earlier");
  EXPECT_EQ(Entries(), Names{"Generated.sup"});
}

TEST_F(OutputFileSetTest, AFolderInTheHelpFilesPlaceChangesNoFile) {
  Put(stream_, "earlier");
  fs::create_directories(help_ / "inside");
  OutputFileSet early;
  early.add(stream_);
  EXPECT_EQ(Failure([&] { early.add(help_); }),
            std::make_pair(std::string("File is a folder"), help_));

  // A folder that takes the name while the files are written.
  fs::remove_all(help_);
  OutputFileSet outputs;
  outputs.add(stream_).write("new stream");
  outputs.add(help_).write("help");
  fs::create_directories(help_ / "inside");
  EXPECT_EQ(Failure([&] { outputs.commit(); }),
            std::make_pair(std::string("File is a folder"), help_));
  early.discard();
  EXPECT_EQ(Contents(stream_), "earlier");
  EXPECT_TRUE(fs::is_directory(help_ / "inside"));
  EXPECT_EQ(Entries(), (Names{"Generated.sup", "Tesmora_Help_File.txt"}));
}

TEST_F(OutputFileSetTest, ReportsAMissingFolderAndUseAfterTheEnd) {
  OutputFileSet outputs;
  const fs::path gone = folder_ / "gone" / "Generated.sup";
  EXPECT_EQ(Failure([&] { outputs.add(gone); }),
            std::make_pair(std::string("File not found"), gone));

  PendingFile file(stream_);
  file.replaceTarget();
  EXPECT_EQ(Failure([&] { file.write("late"); }).first, "File not open");
  EXPECT_EQ(Failure([&] { file.replaceTarget(); }).first, "File not open");
  EXPECT_EQ(Contents(stream_), "");
}

TEST_F(OutputFileSetTest, TwoRunsIntoOneFolderEachWriteACompleteFile) {
  OutputFileSet first;
  OutputFileSet second;
  PendingFile& one = first.add(stream_);
  PendingFile& other = second.add(stream_);
  EXPECT_NE(one.temporaryPath(), other.temporaryPath());
  const std::string longer(100000, 'A');
  const std::string shorter(300, 'B');
  one.write(longer.substr(0, 50000));
  other.write(shorter);
  one.write(longer.substr(50000));
  first.commit();
  EXPECT_EQ(Contents(stream_), longer);
  second.commit();
  EXPECT_EQ(Contents(stream_), shorter);
  EXPECT_EQ(Entries(), Names{"Generated.sup"});
}

TEST_F(OutputFileSetTest, ALinkAtATemporaryNameIsNeverFollowed) {
  // A link planted where the first name tried would go: the file takes the
  // next name, and what the link points to is left alone.
  const fs::path outside = folder_ / "outside" / "precious.txt";
  fs::create_directories(outside.parent_path());
  Put(outside, "precious");
  const fs::path planted = folder_ / TemporaryNameFor("Generated.sup", 1);
  fs::create_symlink(outside, planted);
  std::uint64_t bits = 0;
  {
    PendingFile file(stream_, [&bits] { return ++bits; });
    EXPECT_EQ(file.temporaryPath(), folder_ / TemporaryNameFor("Generated.sup", 2));
    file.write("stream");
    file.replaceTarget();
  }
  EXPECT_EQ(Contents(outside), "precious");
  EXPECT_TRUE(fs::is_symlink(planted));
  EXPECT_FALSE(fs::is_symlink(stream_));
  EXPECT_EQ(Contents(stream_), "stream");

  // A link at every name tried: the run fails and writes nothing anywhere.
  const fs::path help = folder_ / "Tesmora_Help_File.txt";
  fs::create_symlink(outside, folder_ / TemporaryNameFor("Tesmora_Help_File.txt", 7));
  EXPECT_EQ(Failure([&] { PendingFile blocked(help, [] { return 7; }); }).first,
            "I/O error " + std::to_string(EEXIST));
  EXPECT_EQ(Contents(outside), "precious");
  EXPECT_FALSE(fs::exists(help));
}

// A set of the four files of a VobSub run, each with an earlier file but
// the help file.
class ReplacedSetTest : public OutputFileSetTest {
 protected:
  void SetUp() override {
    OutputFileSetTest::SetUp();
    sup_ = folder_ / "film.sup";
    idx_ = folder_ / "film.idx";
    sub_ = folder_ / "film.sub";
    Put(sup_, "earlier stream");
    Put(idx_, "earlier index");
    Put(sub_, "earlier sub");
  }
  void addSet(OutputFileSet& outputs) const {
    outputs.add(help_).write("new help");
    outputs.add(sup_).write("new stream");
    outputs.add(idx_).write("new index");
    outputs.add(sub_).write("new sub");
  }
  void expectEarlierSet() const {
    EXPECT_EQ(Contents(sup_), "earlier stream");
    EXPECT_EQ(Contents(idx_), "earlier index");
    EXPECT_EQ(Contents(sub_), "earlier sub");
    EXPECT_EQ(Entries(), (Names{"film.idx", "film.sub", "film.sup"}));
  }

  fs::path sup_;
  fs::path idx_;
  fs::path sub_;
};

TEST_F(ReplacedSetTest, ARenameThatFailsPutsBackEveryTargetAlreadyReplaced) {
  // Whichever rename fails, those before it are undone: the help file that
  // had no earlier file is removed, the others get their earlier bytes.
  for (const fs::path& failing : {help_, sup_, idx_, sub_}) {
    int renames = 0;
    OutputFileSet outputs([&](const fs::path& from, const fs::path& to) {
      ++renames;
      return to == failing ? EPERM : RenameFile(from, to);
    });
    addSet(outputs);
    EXPECT_EQ(Failure([&] { outputs.commit(); }),
              std::make_pair(std::string("File access denied"), failing));
    EXPECT_EQ(renames, failing == help_ ? 1 : failing == sup_ ? 2 : failing == idx_ ? 3 : 4);
    expectEarlierSet();
    EXPECT_FALSE(fs::exists(help_)) << failing;
  }
  OutputFileSet outputs;
  addSet(outputs);
  outputs.commit();
  EXPECT_EQ(Contents(sub_), "new sub");
  EXPECT_EQ(Contents(help_), "new help");
  EXPECT_EQ(Entries(), (Names{"Tesmora_Help_File.txt", "film.idx", "film.sub", "film.sup"}));
}

bool SetImmutable(const fs::path& path, bool on) {
  return testing::SetImmutable(path.c_str(), on);
}

TEST_F(ReplacedSetTest, AnImmutableTargetStopsTheSetBeforeAnyRename) {
  if (!SetImmutable(sub_, true)) {
    GTEST_SKIP() << "no immutable files here";
  }
  int renames = 0;
  {
    OutputFileSet outputs([&renames](const fs::path& from, const fs::path& to) {
      ++renames;
      return RenameFile(from, to);
    });
    addSet(outputs);
    EXPECT_EQ(Failure([&] { outputs.commit(); }),
              std::make_pair(std::string("File access denied"), sub_));
  }
  ASSERT_TRUE(SetImmutable(sub_, false));
  EXPECT_EQ(renames, 0);
  expectEarlierSet();
}

TEST_F(ReplacedSetTest, AnotherUsersFileInAStickyFolderStopsTheSetBeforeAnyRename) {
  // Root may replace any file: the run is made by a user who may not.
  if (::geteuid() != 0) {
    GTEST_SKIP() << "needs root to give files to another user";
  }
  constexpr uid_t kNobody = 65534;
  fs::permissions(folder_, fs::perms::all | fs::perms::sticky_bit);
  for (const fs::path& own : {sup_, idx_}) {
    ASSERT_EQ(::chown(own.c_str(), kNobody, kNobody), 0);
  }
  testing::ChildProcess user([&](const std::function<void()>&) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
      ::_exit(2);
    }
    OutputFileSet outputs;
    addSet(outputs);
    const auto failure = Failure([&] { outputs.commit(); });
    ::_exit(failure == std::make_pair(std::string("File access denied"), sub_) ? 0 : 1);
  });
  const int status = user.wait();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  expectEarlierSet();
}

TEST_F(OutputFileSetTest, SetsOfTwoRunsIntoOneFolderNeverMix) {
  // Each run writes its name and the number of the set into every file; a
  // look at the folder while holding its lock, and the folder at the end,
  // must find all files of one set.
  const std::vector<fs::path> targets{folder_ / "film.sup", folder_ / "film.idx",
                                      folder_ / "film.sub"};
  std::atomic<int> running{2};
  const auto run = [&](char name) {
    for (int set = 0; set < 150; ++set) {
      OutputFileSet outputs;
      for (const fs::path& target : targets) {
        outputs.add(target).write(name + std::to_string(set));
      }
      outputs.commit();
    }
    --running;
  };
  const auto look = [&targets] {
    std::string files;
    for (const fs::path& target : targets) {
      files += Contents(target) + " ";
    }
    return files;
  };
  const auto isOneSet = [](const std::string& files) {
    const std::string first = files.substr(0, files.find(' ') + 1);
    return files == first + first + first;
  };
  std::thread first(run, 'a');
  std::thread second(run, 'b');
  std::vector<std::string> mixed;
  while (running.load() > 0) {
    {
      const FolderLocks locks(targets);
      if (const std::string files = look(); !isOneSet(files)) {
        mixed.push_back(files);
      }
    }
    std::this_thread::yield();
  }
  first.join();
  second.join();
  EXPECT_EQ(mixed, std::vector<std::string>{});
  EXPECT_TRUE(isOneSet(look())) << look();
  EXPECT_EQ(Entries(), (Names{"film.idx", "film.sub", "film.sup"}));
}

TEST_F(OutputFileSetTest, OneFolderUnderTwoNamesIsLockedOnce) {
  // Locked twice, the set would wait for itself for ever.
  const fs::path other = folder_ / "other";
  fs::create_directory_symlink(folder_, other);
  OutputFileSet outputs;
  outputs.add(stream_).write("stream");
  outputs.add(other / "Tesmora_Help_File.txt").write("help");
  outputs.commit();
  EXPECT_EQ(Contents(stream_), "stream");
  EXPECT_EQ(Contents(help_), "help");
  EXPECT_EQ(Entries(), (Names{"Generated.sup", "Tesmora_Help_File.txt", "other"}));
}

TEST_F(OutputFileSetTest, SomethingElseAtTheLockFilesNameChangesNoFile) {
  Put(stream_, "earlier");
  const fs::path lock = folder_ / ".tesmora-lock";
  Put(folder_ / "outside.txt", "precious");
  fs::create_symlink(folder_ / "outside.txt", lock);
  {
    OutputFileSet outputs;
    outputs.add(stream_).write("new stream");
    EXPECT_EQ(Failure([&] { outputs.commit(); }),
              std::make_pair("I/O error " + std::to_string(ELOOP), lock));
  }
  fs::remove(lock);
  fs::create_directory(lock);
  {
    OutputFileSet outputs;
    outputs.add(stream_).write("new stream");
    EXPECT_EQ(Failure([&] { outputs.commit(); }),
              std::make_pair(std::string("File is a folder"), lock));
  }
  EXPECT_EQ(Contents(stream_), "earlier");
  EXPECT_EQ(Contents(folder_ / "outside.txt"), "precious");
  EXPECT_EQ(Entries(), (Names{".tesmora-lock", "Generated.sup", "outside.txt"}));
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
