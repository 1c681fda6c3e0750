// Temporary files that killed runs left behind, and those live runs hold.
#include "files/StaleTemporaries.h"

#include <gtest/gtest.h>

#include <csignal>

#include "files/TemporaryName.h"
#include "output/OutputFileSet.h"
#include "tests/files/ChildProcess.h"
#include "tests/files/TestFolder.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;
using StaleTemporariesTest = testing::TestFolder;

TEST_F(StaleTemporariesTest, TheNextRunRemovesWhatAKilledRunLeft) {
  const fs::path target = folder_ / "Generated.sup";
  Put(target, "earlier");
  testing::ChildProcess child([&](const std::function<void()>& ready) {
    OutputFileSet outputs;
    outputs.add(target).write("half a stream");
    outputs.add(folder_ / "Tesmora_Help_File.txt");
    ready();
    ::pause();
  });
  ASSERT_TRUE(child.readyReached());
  child.signal(SIGKILL);
  EXPECT_EQ(WTERMSIG(child.wait()), SIGKILL);
  EXPECT_EQ(Entries().size(), 3u);  // the target and two files of the killed run

  {
    OutputFileSet outputs;
    outputs.add(target).write("whole");
    EXPECT_EQ(Entries().size(), 2u);  // the target and this run's own file
    outputs.commit();
  }
  EXPECT_EQ(Contents(target), "whole");
  EXPECT_EQ(Entries(), Names{"Generated.sup"});
}

TEST_F(StaleTemporariesTest, KeepsTheFilesOfALiveRun) {
  const fs::path target = folder_ / "Generated.sup";
  testing::ChildProcess child([&](const std::function<void()>& ready) {
    OutputFileSet outputs;
    outputs.add(target).write("still running");
    ready();
    ::pause();
  });
  ASSERT_TRUE(child.readyReached());
  OutputFileSet inProcess;
  inProcess.add(folder_ / "Tesmora_Help_File.txt");

  EXPECT_EQ(RemoveStaleTemporaries(folder_), 0);
  EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(StaleTemporariesTest, RemovesOnlyPlainFilesWithOurNames) {
  const std::string stale = TemporaryNameFor("Generated.sup", 12345);
  Put(folder_ / stale, "left by a killed run");
  const fs::path outside = folder_ / "outside.txt";
  Put(outside, "precious");
  const Names kept{
      ".notes",      "Generated.sup.tesmora-partial",      ".Generated.sup.tesmora-abc",
      "outside.txt", TemporaryNameFor("Generated.sup", 1), TemporaryNameFor("Generated.sup", 2)};
  for (const char* name :
       {".notes", "Generated.sup.tesmora-partial", ".Generated.sup.tesmora-abc"}) {
    Put(folder_ / name, "the user's");
  }
  fs::create_symlink(outside, folder_ / TemporaryNameFor("Generated.sup", 1));
  fs::create_directory(folder_ / TemporaryNameFor("Generated.sup", 2));

  EXPECT_EQ(RemoveStaleTemporaries(folder_), 1);
  EXPECT_EQ(Entries(), kept);
  EXPECT_EQ(Contents(outside), "precious");
  EXPECT_EQ(RemoveStaleTemporaries(folder_ / "gone"), 0);
}

TEST_F(StaleTemporariesTest, KeptFilesOfAKilledRunAreNeverTheOnlyCopyRemoved) {
  // The three states a run killed while replacing its targets can leave.
  const fs::path unchanged = folder_ / "film.sup";  // kept as a second link
  const fs::path moved = folder_ / "film.idx";      // renamed aside
  const fs::path replaced = folder_ / "film.sub";   // already replaced
  Put(unchanged, "earlier stream");
  fs::create_hard_link(unchanged, folder_ / KeptNameFor("film.sup", 1));
  Put(folder_ / KeptNameFor("film.idx", 2), "earlier index");
  Put(replaced, "new sub");
  const std::string earlierSub = KeptNameFor("film.sub", 3);
  Put(folder_ / earlierSub, "earlier sub");

  EXPECT_EQ(SettleKeptFiles(folder_), 2);
  EXPECT_EQ(Entries(), (Names{"film.idx", "film.sub", "film.sup", earlierSub}));
  EXPECT_EQ(Contents(unchanged), "earlier stream");
  EXPECT_EQ(Contents(moved), "earlier index");
  EXPECT_EQ(Contents(replaced), "new sub");
  EXPECT_EQ(Contents(folder_ / earlierSub), "earlier sub");
  EXPECT_EQ(RemoveStaleTemporaries(folder_), 0);
  EXPECT_EQ(SettleKeptFiles(folder_), 0);

  // The next run's commit settles them too, and keeps the only copy.
  fs::rename(moved, folder_ / KeptNameFor("film.idx", 4));
  {
    OutputFileSet outputs;
    outputs.add(unchanged).write("new stream");
    outputs.commit();
  }
  EXPECT_EQ(Entries(), (Names{"film.idx", "film.sub", "film.sup", earlierSub}));
  EXPECT_EQ(Contents(moved), "earlier index");
}

}  // namespace
}  // namespace tesmora
