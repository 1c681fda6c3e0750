// A set of thousands of files (a picture for each subtitle): written within
// a low descriptor limit, whole or not at all, its hidden folder cleared
// after a killed run and removed on a signal, and the files it removes put
// back when the set fails.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <functional>

#include "files/InterruptCleanup.h"
#include "files/OutputFileError.h"
#include "files/StaleTemporaries.h"
#include "files/TemporaryName.h"
#include "output/OutputFileSet.h"
#include "tests/files/ChildProcess.h"
#include "tests/files/TestFolder.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string PictureName(int n) {
  return "film_" + std::to_string(10000 + n).substr(1) + ".png";
}

class ManyFilesSetTest : public testing::TestFolder {
 protected:
  // The names of the set of `count` pictures and the XML, each holding its
  // own name and `mark`.
  void addSet(OutputFileSet& outputs, int count, const std::string& mark) const {
    for (int n = 1; n <= count; ++n) {
      outputs.addWhole(folder_ / PictureName(n), Bytes(PictureName(n) + mark));
    }
    outputs.add(folder_ / "film.xml").write("xml" + mark);
  }
  static Names SetNames(int count) {
    Names names{"film.xml"};
    for (int n = 1; n <= count; ++n) {
      names.insert(PictureName(n));
    }
    return names;
  }
};

// With at most 32 descriptors open, a set of 1,500 files (a film's pictures) is written and put
// in place; each file holds its own bytes.
TEST_F(ManyFilesSetTest, ThousandsOfFilesWithinALowDescriptorLimit) {
  testing::ChildProcess child([&](const std::function<void()>& ready) {
    const rlimit low{32, 32};
    if (::setrlimit(RLIMIT_NOFILE, &low) != 0) {
      ::_exit(3);
    }
    try {
      OutputFileSet outputs;
      addSet(outputs, 1500, " new");
      outputs.commit();
    } catch (const OutputFileError&) {
      ::_exit(4);
    }
    ready();
  });
  ASSERT_TRUE(child.readyReached());
  const int status = child.wait();
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Entries(), SetNames(1500));
  EXPECT_EQ(Contents(folder_ / PictureName(1499)), PictureName(1499) + " new");
  EXPECT_EQ(Contents(folder_ / "film.xml"), "xml new");
}

// A folder in the way of one picture, or a rename that fails on one,
// leaves the earlier set as it was and nothing of the new one; a picture
// the set was to remove is back too.
TEST_F(ManyFilesSetTest, AFailedSetChangesNoFile) {
  {
    OutputFileSet outputs;
    addSet(outputs, 5, " earlier");
    outputs.commit();
  }
  const auto expectEarlier = [&](const std::string& why) {
    Names names = SetNames(5);
    names.insert("in the way");
    EXPECT_EQ(Entries(), names) << why;
    EXPECT_EQ(Contents(folder_ / PictureName(5)), PictureName(5) + " earlier") << why;
    EXPECT_EQ(Contents(folder_ / "film.xml"), "xml earlier") << why;
  };
  fs::create_directory(folder_ / "in the way");
  {
    OutputFileSet outputs;
    addSet(outputs, 3, " new");
    outputs.addWhole(folder_ / "in the way", Bytes("x"));
    outputs.remove(folder_ / PictureName(4));
    outputs.remove(folder_ / PictureName(5));
    EXPECT_THROW(outputs.commit(), OutputFileError);
  }
  expectEarlier("a folder in the way");
  for (const int failing : {1, 0}) {
    // 0: the XML, the last file of the set, fails.
    const fs::path failed = failing == 0 ? folder_ / "film.xml" : folder_ / PictureName(failing);
    OutputFileSet outputs([&](const fs::path& from, const fs::path& to) {
      return to == failed ? EIO : RenameFile(from, to);
    });
    outputs.remove(folder_ / PictureName(5));
    addSet(outputs, 3, " new");
    outputs.remove(folder_ / PictureName(4));
    EXPECT_THROW(outputs.commit(), OutputFileError);
    expectEarlier("rename " + std::to_string(failing));
  }
  // The same set that succeeds removes the two it no longer holds.
  OutputFileSet outputs;
  addSet(outputs, 3, " new");
  outputs.remove(folder_ / PictureName(4));
  outputs.remove(folder_ / PictureName(5));
  outputs.remove(folder_ / "in the way");  // a folder is never removed
  outputs.commit();
  Names names = SetNames(3);
  names.insert("in the way");
  EXPECT_EQ(Entries(), names);
  EXPECT_EQ(Contents(folder_ / PictureName(3)), PictureName(3) + " new");
}

// A run killed while writing leaves its hidden folder; the next run into
// the folder clears it, but never the folder of a live run or a folder
// that is not one of ours.
TEST_F(ManyFilesSetTest, TheNextRunClearsTheFolderOfAKilledRun) {
  const auto child = [&](int count) {
    return std::make_unique<testing::ChildProcess>([&, count](const std::function<void()>& ready) {
      OutputFileSet outputs;
      addSet(outputs, count, " killed");
      ready();
      ::pause();
    });
  };
  auto live = child(3);
  ASSERT_TRUE(live->readyReached());
  auto killed = child(40);
  ASSERT_TRUE(killed->readyReached());
  killed->signal(SIGKILL);
  killed->wait();
  // The XML's file and the hidden folder of each run.
  ASSERT_EQ(Entries().size(), 4u);
  // Folders with our name that a run does not make: one open to others,
  // one holding a folder.
  const fs::path open = folder_ / TemporaryNameFor("film_0001.png", 7);
  const fs::path nested = folder_ / TemporaryNameFor("film_0001.png", 8);
  for (const fs::path& user : {open, nested}) {
    fs::create_directory(user);
    Put(user / "keep.txt", "the user's");
  }
  fs::permissions(open, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  fs::permissions(nested, fs::perms::owner_all);
  fs::create_directory(nested / "inner");

  EXPECT_EQ(RemoveStaleTemporaries(folder_), 2);  // the killed run's file and folder
  EXPECT_EQ(Entries().size(), 4u);
  EXPECT_EQ(Contents(open / "keep.txt"), "the user's");
  EXPECT_EQ(Contents(nested / "keep.txt"), "the user's");
  live.reset();
}

TEST_F(ManyFilesSetTest, ASignalRemovesTheHiddenFolderWithItsFiles) {
  Put(folder_ / PictureName(1), "earlier");
  testing::ChildProcess child([&](const std::function<void()>& ready) {
    InstallInterruptCleanup();
    OutputFileSet outputs;
    addSet(outputs, 500, " stopped");
    ready();
    for (;;) {
      ::pause();
    }
  });
  ASSERT_TRUE(child.readyReached());
  child.signal(SIGTERM);
  const int status = child.wait();
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(Entries(), Names{PictureName(1)});
  EXPECT_EQ(Contents(folder_ / PictureName(1)), "earlier");
}

}  // namespace
}  // namespace tesmora
