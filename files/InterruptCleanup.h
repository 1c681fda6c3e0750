#pragma once

namespace tesmora {

// Removes the temporary files of unfinished output when the process is
// stopped by Ctrl-C (SIGINT), SIGTERM or SIGHUP, then lets the signal end the
// process as it would have without the handler. A signal the process
// ignores (nohup) stays ignored.
//
// The registry behind it is the process's only mutable global: a signal
// handler can reach nothing else. It holds a fixed number of paths, and the
// handler only reads them and unlinks files, which is safe in a handler.
//
// A crash (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) on any thread removes
// the temporary files too, then goes on as it would have: to the handler
// that was there before (a sanitizer's), or to the default action, so the
// exit status stays the crash's.
void InstallInterruptCleanup();

// Enters a temporary file into the registry. Returns the slot to forget it
// by, or -1 when the registry is full or the path too long; such a file is
// then not removed on a signal.
int RegisterTemporaryFile(const char* path) noexcept;

// Enters a temporary folder of ours into the registry: on a signal the
// files in it are removed, then the folder. Returns the slot as above.
int RegisterTemporaryFolder(const char* path) noexcept;

// Takes a file or folder out of the registry (a slot of -1 is ignored).
void ForgetTemporaryFile(int slot) noexcept;

// While alive, holds back the three signals' cleanup: files being renamed
// into place are neither removed half-way through nor left half-renamed. A
// signal that arrives meanwhile stops the process when the guard ends.
class SignalDeferral {
 public:
  SignalDeferral() noexcept;
  ~SignalDeferral();
  SignalDeferral(const SignalDeferral&) = delete;
  SignalDeferral& operator=(const SignalDeferral&) = delete;
};

}  // namespace tesmora
