// A run stopped by a signal: its temporary files go, the targets stay as
// they were, and the signal still ends the process.
#include "files/InterruptCleanup.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <thread>

#include "output/OutputFileSet.h"
#include "tests/files/ChildProcess.h"
#include "tests/files/TestFolder.h"

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

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// A crash on a worker thread while the files of a run are open removes them,
// and the process still ends by the crash's signal: a real invalid access
// (a fault the processor raises), abort() and the other crash signals.
TEST_F(InterruptCleanupTest, ACrashOnAWorkerRemovesTheTemporaryFilesAndStillCrashes) {
  Put(folder_ / "Generated.sup", "earlier");
  enum class Crash { Fault, Abort, Bus, FloatingPoint, Illegal };
  const std::pair<Crash, int> crashes[] = {{Crash::Fault, SIGSEGV},
                                           {Crash::Abort, SIGABRT},
                                           {Crash::Bus, SIGBUS},
                                           {Crash::FloatingPoint, SIGFPE},
                                           {Crash::Illegal, SIGILL}};
  for (const auto& [crash, signal] : crashes) {
    testing::ChildProcess child([&](const std::function<void()>& ready) {
      const rlimit noCore{0, 0};
      ::setrlimit(RLIMIT_CORE, &noCore);
      InstallInterruptCleanup();
      OutputFileSet outputs;
      outputs.add(folder_ / "Generated.sup").write(std::string(200000, 'S'));
      outputs.add(folder_ / "Tesmora_Help_File.txt").write("help");
      ready();
      std::thread worker([crash] {
        switch (crash) {
          case Crash::Fault: {
            // An address no mapping holds, out of the sanitizers' sight.
            volatile std::uintptr_t address = 16;
            *reinterpret_cast<volatile int*>(address) = 1;
            break;
          }
          case Crash::Abort:
            std::abort();
          case Crash::Bus:
            ::raise(SIGBUS);
            break;
          case Crash::FloatingPoint:
            ::raise(SIGFPE);
            break;
          case Crash::Illegal:
            ::raise(SIGILL);
            break;
        }
      });
      worker.join();
      outputs.commit();  // never reached
    });
    ASSERT_TRUE(child.readyReached()) << signal;
    const int status = child.wait();
    EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << signal;
    EXPECT_EQ(Entries(), Names{"Generated.sup"}) << signal;
    EXPECT_EQ(Contents(folder_ / "Generated.sup"), "earlier") << signal;
    // A sanitizer reports faults, SIGBUS and SIGFPE itself and then ends the
    // process its own way (abort, or exit status 1).
    if (!kSanitized || crash == Crash::Abort) {
      ASSERT_TRUE(WIFSIGNALED(status)) << signal;
      EXPECT_EQ(WTERMSIG(status), signal);
    }
  }
}

}  // namespace
}  // namespace tesmora
