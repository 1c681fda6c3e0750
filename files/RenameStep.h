#pragma once

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace tesmora {

// The rename that puts a finished output file over its target: 0 on
// success, else the errno value of the failure. Tests put a failing one in
// its place to see a set put back what it had already replaced.
using RenameStep =
    std::function<int(const std::filesystem::path& from, const std::filesystem::path& to)>;

inline int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace tesmora
