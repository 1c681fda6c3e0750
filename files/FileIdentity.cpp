#include "files/FileIdentity.h"

#include <sys/stat.h>

#include "files/FileAccess.h"
#include "files/FileNames.h"

namespace tesmora {

FileIdentity IdentityOf(const QString& path) {
  const std::string absolute = FileNameBytes(AbsolutePath(path)).toStdString();
  // Up the path until something exists; what was cut off is where the path
  // leads from there.
  std::string head = absolute;
  std::string rest;
  for (;;) {
    struct stat status {};
    if (::stat(head.c_str(), &status) == 0) {
      return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
              rest};
    }
    const std::size_t slash = head.rfind('/');
    if (slash == std::string::npos || head == "/") {
      return {0, 0, absolute};  // not even the root answers
    }
    const std::string name = head.substr(slash + 1);
    rest = rest.empty() ? name : name + '/' + rest;
    head = slash == 0 ? std::string("/") : head.substr(0, slash);
  }
}

FileIdentity PlaceIn(const QString& folder, const QString& name) {
  FileIdentity place = IdentityOf(folder);
  const std::string bytes = FileNameBytes(name).toStdString();
  place.rest = place.rest.empty() ? bytes : place.rest + '/' + bytes;
  return place;
}

}  // namespace tesmora
