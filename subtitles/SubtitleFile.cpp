#include "subtitles/SubtitleFile.h"

#include <fstream>
#include <system_error>

namespace tesmora {
namespace {

std::string CannotOpen(const std::filesystem::path& path) {
  return "Cannot open file " + path.string();
}

SubtitleFileError TooLarge(const std::filesystem::path& path, std::uintmax_t size) {
  return SubtitleFileError(CannotOpen(path) + ": it holds " + std::to_string(size) +
                           " bytes, more than the 64 MiB a subtitle file may hold");
}

}  // namespace

std::string ReadSubtitleFileBytes(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || status.type() == std::filesystem::file_type::not_found) {
    throw SubtitleFileError(CannotOpen(path));
  }
  if (status.type() != std::filesystem::file_type::regular) {
    throw SubtitleFileError(CannotOpen(path) + ": it is not a regular file");
  }
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) {
    throw SubtitleFileError(CannotOpen(path));
  }
  if (size > kMaxSubtitleFileBytes) {
    throw TooLarge(path, size);
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw SubtitleFileError(CannotOpen(path));
  }
  // The file may have grown since its size was taken: reading one byte past
  // the limit tells.
  std::string content(static_cast<std::size_t>(size), '\0');
  file.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<std::size_t>(file.gcount()));
  if (file.bad()) {
    throw SubtitleFileError(CannotOpen(path));
  }
  if (file.good()) {
    char more[4096];
    while (file.read(more, sizeof more) || file.gcount() > 0) {
      if (content.size() + static_cast<std::size_t>(file.gcount()) > kMaxSubtitleFileBytes) {
        throw TooLarge(path, content.size() + static_cast<std::size_t>(file.gcount()));
      }
      content.append(more, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
      throw SubtitleFileError(CannotOpen(path));
    }
  }
  return content;
}

}  // namespace tesmora
