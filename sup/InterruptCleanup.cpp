#include "sup/InterruptCleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

namespace tesmora {
namespace {

constexpr int kStoppingSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kSlots = 32;
constexpr std::size_t kLongestPath = 4096;

enum SlotState : int { kFree, kFilling, kLive };
// The phase of the process: kStopping once a handler ends it, else the
// number of live SignalDeferral objects.
constexpr int kStopping = -1;

struct Slot {
  std::atomic<int> state{kFree};
  std::array<char, kLongestPath> path{};
};

// The registry the handler reads. Lock-free atomics only, so that a handler
// running on any thread sees whole entries.
struct Registry {
  std::array<Slot, kSlots> slots;
  std::atomic<int> phase{0};
  std::atomic<int> deferredSignal{0};
};

Registry registry;

static_assert(std::atomic<int>::is_always_lock_free);

void RemoveLiveFiles() noexcept {
  for (Slot& slot : registry.slots) {
    if (slot.state.load() == kLive) {
      ::unlink(slot.path.data());
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
}

int RegisterTemporaryFile(const char* path) noexcept {
  const std::size_t length = std::strlen(path);
  if (length >= kLongestPath) {
    return -1;
  }
  for (std::size_t i = 0; i < kSlots; ++i) {
    Slot& slot = registry.slots[i];
    int state = kFree;
    if (slot.state.compare_exchange_strong(state, kFilling)) {
      std::memcpy(slot.path.data(), path, length + 1);
      slot.state.store(kLive);
      return static_cast<int>(i);
    }
  }
  return -1;
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
