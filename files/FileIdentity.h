#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <string>

namespace tesmora {

// Which file on disk a path names, so that two spellings of one file compare
// equal whatever links, "." and ".." or other names of its folders they use.
// A file that exists is its device and inode, links followed. A path where
// nothing exists is the device and inode of its nearest existing folder and
// the rest of the path from there ("new/film.sup"): where a file would be
// created under that path.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::string rest;  // empty for a file that exists

  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of what `path` names, relative to the working folder.
FileIdentity IdentityOf(const QString& path);

// The place a file called `name` takes in `folder`, whether or not it
// exists yet: the folder's identity and the name. A file written under the
// name replaces what holds that place, a link as well, so two outputs with
// one place replace each other.
FileIdentity PlaceIn(const QString& folder, const QString& name);

}  // namespace tesmora
