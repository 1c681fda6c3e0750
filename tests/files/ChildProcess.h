#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tesmora::testing {

// A forked child that runs `body` and then exits with status 0; `ready()`
// inside the body tells the parent, which waits for it in the constructor,
// that the child has reached the point to be tested.
class ChildProcess {
 public:
  explicit ChildProcess(const std::function<void(const std::function<void()>& ready)>& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
      return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      body([fd = fds[1]] {
        const char byte = 'r';
        (void)!::write(fd, &byte, 1);
      });
      ::_exit(0);
    }
    ::close(fds[1]);
    char byte = 0;
    readyReached_ = pid_ > 0 && ::read(fds[0], &byte, 1) == 1;
    ::close(fds[0]);
  }
  ~ChildProcess() {
    if (pid_ > 0 && !waited_) {
      ::kill(pid_, SIGKILL);
      wait();
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool readyReached() const { return readyReached_; }
  void signal(int number) const { ::kill(pid_, number); }
  // The raw wait status.
  int wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    waited_ = true;
    return status;
  }

 private:
  pid_t pid_ = -1;
  bool readyReached_ = false;
  bool waited_ = false;
};

}  // namespace tesmora::testing
