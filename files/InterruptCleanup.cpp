#include "files/InterruptCleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

namespace tesmora {
namespace {

constexpr int kStoppingSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr std::size_t kCrashSignalCount = std::size(kCrashSignals);
constexpr std::size_t kSlots = 32;
constexpr std::size_t kLongestPath = 4096;

enum SlotState : int { kFree, kFilling, kLive };
// The phase of the process: kStopping once a handler ends it, else the
// number of live SignalDeferral objects.
constexpr int kStopping = -1;

struct Slot {
  std::atomic<int> state{kFree};
  bool folder = false;  // written before the slot turns live
  std::array<char, kLongestPath> path{};
};

// The registry the handler reads. Lock-free atomics only, so that a handler
// running on any thread sees whole entries.
struct Registry {
  std::array<Slot, kSlots> slots;
  std::atomic<int> phase{0};
  std::atomic<int> deferredSignal{0};
  // What each crash signal did before the cleanup took it over; written
  // before the handler is installed, only read afterwards.
  std::array<struct sigaction, kCrashSignalCount> beforeCrash{};
};

Registry registry;

static_assert(std::atomic<int>::is_always_lock_free);

// Removes the files of a temporary folder, then the folder, with calls a
// handler may make: the folder's entries are read with getdents64 rather
// than readdir, which allocates. Reading starts over after each pass, since
// removing entries while reading may skip some; the passes are bounded.
void RemoveFolder(const char* path) noexcept {
  const int folder = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) {
    return;
  }
  alignas(dirent64) char entries[4096];
  for (int pass = 0; pass < 1000; ++pass) {
    bool removed = false;
    ::lseek(folder, 0, SEEK_SET);
    ssize_t length = 0;
    while ((length = ::getdents64(folder, entries, sizeof entries)) > 0) {
      for (ssize_t at = 0; at < length;) {
        const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
        at += entry->d_reclen;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
          continue;
        }
        removed = ::unlinkat(folder, name, 0) == 0 || removed;
      }
    }
    if (!removed) {
      break;
    }
  }
  ::close(folder);
  ::rmdir(path);
}

void RemoveLiveFiles() noexcept {
  for (Slot& slot : registry.slots) {
    if (slot.state.load() == kLive) {
      if (slot.folder) {
        RemoveFolder(slot.path.data());
      } else {
        ::unlink(slot.path.data());
      }
    }
  }
}

// Removes the files and ends the process with the signal's default action.
void StopWith(int signal) noexcept {
  RemoveLiveFiles();
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  ::sigaction(signal, &standard, nullptr);
  ::raise(signal);
}

extern "C" void OnStoppingSignal(int signal) {
  int phase = 0;
  if (registry.phase.compare_exchange_strong(phase, kStopping)) {
    // Delivered once the handler returns: the signal is blocked inside it.
    StopWith(signal);
  } else if (phase > 0) {
    registry.deferredSignal.store(signal);
  }
  // kStopping: another thread is already ending the process.
}

extern "C" void OnCrashSignal(int signal, siginfo_t* info, void*) {
  RemoveLiveFiles();
  std::size_t k = 0;
  while (k < kCrashSignalCount && kCrashSignals[k] != signal) {
    ++k;
  }
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  const struct sigaction& before =
      k < kCrashSignalCount && registry.beforeCrash[k].sa_handler != SIG_IGN
          ? registry.beforeCrash[k]
          : standard;
  ::sigaction(signal, &before, nullptr);
  // A fault the processor raised happens again when the handler returns,
  // now reaching what handled it before; a signal that was sent (abort(),
  // kill) is sent again, delivered once this handler returns.
  if (info == nullptr || info->si_code <= 0) {
    ::raise(signal);
  }
}

}  // namespace

void InstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = OnStoppingSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : kStoppingSignals) {
    sigaddset(&action.sa_mask, signal);
  }
  action.sa_flags = SA_RESTART;
  for (const int signal : kStoppingSignals) {
    struct sigaction previous {};
    ::sigaction(signal, nullptr, &previous);
    if (previous.sa_handler != SIG_IGN) {
      ::sigaction(signal, &action, nullptr);
    }
  }
  struct sigaction crash {};
  crash.sa_sigaction = OnCrashSignal;
  sigemptyset(&crash.sa_mask);
  crash.sa_flags = SA_SIGINFO;
  for (std::size_t k = 0; k < kCrashSignalCount; ++k) {
    struct sigaction previous {};
    ::sigaction(kCrashSignals[k], nullptr, &previous);
    if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction == OnCrashSignal) {
      continue;  // installed already
    }
    registry.beforeCrash[k] = previous;
    ::sigaction(kCrashSignals[k], &crash, nullptr);
  }
}

namespace {

int RegisterPath(const char* path, bool folder) noexcept {
  const std::size_t length = std::strlen(path);
  if (length >= kLongestPath) {
    return -1;
  }
  for (std::size_t i = 0; i < kSlots; ++i) {
    Slot& slot = registry.slots[i];
    int state = kFree;
    if (slot.state.compare_exchange_strong(state, kFilling)) {
      std::memcpy(slot.path.data(), path, length + 1);
      slot.folder = folder;
      slot.state.store(kLive);
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

int RegisterTemporaryFile(const char* path) noexcept {
  return RegisterPath(path, false);
}

int RegisterTemporaryFolder(const char* path) noexcept {
  return RegisterPath(path, true);
}

void ForgetTemporaryFile(int slot) noexcept {
  if (slot >= 0 && static_cast<std::size_t>(slot) < kSlots) {
    registry.slots[static_cast<std::size_t>(slot)].state.store(kFree);
  }
}

SignalDeferral::SignalDeferral() noexcept {
  int phase = registry.phase.load();
  do {
    if (phase == kStopping) {
      // A handler on another thread is ending the process.
      for (;;) {
        ::pause();
      }
    }
  } while (!registry.phase.compare_exchange_weak(phase, phase + 1));
}

SignalDeferral::~SignalDeferral() {
  if (registry.phase.fetch_sub(1) != 1) {
    return;
  }
  const int signal = registry.deferredSignal.exchange(0);
  int phase = 0;
  if (signal != 0 && registry.phase.compare_exchange_strong(phase, kStopping)) {
    StopWith(signal);
  }
}

}  // namespace tesmora
