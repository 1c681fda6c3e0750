#include "core/IoError.h"

#include <cerrno>

namespace tesmora {

std::string IoErrorText(int errnum) {
  switch (errnum) {
    case ENOENT:
    case ENOTDIR:
      return "File not found";
    case EACCES:
    case EPERM:
    case EROFS:
      return "File access denied";
    case ENOSPC:
    case EDQUOT:
      return "Disk full";
    case EISDIR:
      return "File is a folder";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    default:
      return "I/O error " + std::to_string(errnum);
  }
}

IoError IoErrorFromErrno(int errnum) {
  return IoError(IoErrorText(errnum));
}

}  // namespace tesmora
