#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tesmora::testing {

// Sets or clears the immutable flag of a file; false where the file system
// or the user cannot.
inline bool SetImmutable(const char* path, bool on) {
  const int descriptor = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  int flags = 0;
  bool done = descriptor >= 0 && ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
  }
  if (descriptor >= 0) {
    ::close(descriptor);
  }
  return done;
}

}  // namespace tesmora::testing
