// A run stopped by a signal: its temporary files go, the targets stay as
// they were, and the signal still ends the process.
#include "sup/InterruptCleanup.h"

#include <gtest/gtest.h>

#include <csignal>

#include "sup/OutputFileSet.h"
#include "tests/sup/ChildProcess.h"
#include "tests/sup/TestFolder.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

class InterruptCleanupTest : public testing::TestFolder {
 protected:
  // A child that installs the cleanup, starts both files of a run with some
  // bytes in them and waits for the signal.
  int RunStoppedBy(int signal) {
    testing::ChildProcess child([&](const std::function<void()>& ready) {
      InstallInterruptCleanup();
      OutputFileSet outputs;
      outputs.add(folder_ / "Generated.sup").write(std::string(200000, 'S'));
      outputs.add(folder_ / "Tesmora_Help_File.txt").write("help");
      ready();
      for (;;) {
        ::pause();
      }
    });
    EXPECT_TRUE(child.readyReached());
    EXPECT_EQ(Entries().size(), 3u);
    child.signal(signal);
    return child.wait();
  }
};

TEST_F(InterruptCleanupTest, CtrlCTermAndHangUpRemoveTheTemporaryFiles) {
  Put(folder_ / "Generated.sup", "earlier");
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const int status = RunStoppedBy(signal);
    ASSERT_TRUE(WIFSIGNALED(status)) << signal;
    EXPECT_EQ(WTERMSIG(status), signal);
    EXPECT_EQ(Entries(), Names{"Generated.sup"}) << signal;
    EXPECT_EQ(Contents(folder_ / "Generated.sup"), "earlier");
  }
}

TEST_F(InterruptCleanupTest, AnIgnoredSignalStaysIgnored) {
  testing::ChildProcess child([&](const std::function<void()>& ready) {
    ::signal(SIGHUP, SIG_IGN);
    InstallInterruptCleanup();
    OutputFileSet outputs;
    outputs.add(folder_ / "Generated.sup").write("stream");
    ::raise(SIGHUP);
    outputs.commit();
    ready();
  });
  ASSERT_TRUE(child.readyReached());
  const int status = child.wait();
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(Contents(folder_ / "Generated.sup"), "stream");
}

TEST_F(InterruptCleanupTest, ASignalDuringTheRenamesWaitsUntilAllAreDone) {
  testing::ChildProcess child([&](const std::function<void()>& ready) {
    InstallInterruptCleanup();
    OutputFileSet outputs;
    outputs.add(folder_ / "Generated.sup").write("stream");
    outputs.add(folder_ / "Tesmora_Help_File.txt").write("help");
    {
      const SignalDeferral deferral;
      ::raise(SIGTERM);
      ready();  // still alive inside the deferral
      outputs.commit();
    }
    ::_exit(0);  // never reached: the deferred signal ends the process
  });
  ASSERT_TRUE(child.readyReached());
  const int status = child.wait();
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_EQ(Entries(), (Names{"Generated.sup", "Tesmora_Help_File.txt"}));
}

}  // namespace
}  // namespace tesmora
