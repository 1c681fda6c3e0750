#include "sup/SupWriter.h"

#include <cerrno>
#include <system_error>

#include "sup/IoError.h"

namespace tesmora {

SupWriter::~SupWriter() {
  abandon();
}

std::filesystem::path SupWriter::TemporaryPathFor(const std::filesystem::path& target) {
  std::filesystem::path temporary = target;
  temporary += ".tesmora-partial";
  return temporary;
}

void SupWriter::open(const std::filesystem::path& target) {
  abandon();
  target_ = target;
  temporary_ = TemporaryPathFor(target);
  errno = 0;
  file_ = std::fopen(temporary_.c_str(), "wb");
  if (file_ == nullptr) {
    const int errnum = errno != 0 ? errno : EIO;
    temporary_.clear();
    throw IoErrorFromErrno(errnum);
  }
}

void SupWriter::write(std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr) {
    throw IoError("File not open");
  }
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    failWith(errno != 0 ? errno : EIO);
  }
}

void SupWriter::writePacket(std::span<const std::uint8_t> header,
                            std::span<const std::uint8_t> unit) {
  write(header);
  write(unit);
}

void SupWriter::close() {
  if (file_ == nullptr) {
    throw IoError("File not open");
  }
  errno = 0;
  const bool flushed = std::fflush(file_) == 0;
  int errnum = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!closed && errnum == 0) {
    errnum = errno;
  }
  if (!flushed || !closed) {
    failWith(errnum != 0 ? errnum : EIO);
  }
  std::error_code error;
  std::filesystem::rename(temporary_, target_, error);
  if (error) {
    failWith(error.value());
  }
  temporary_.clear();
}

void SupWriter::abandon() noexcept {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
  }
}

void SupWriter::failWith(int errnum) {
  abandon();
  throw IoErrorFromErrno(errnum);
}

}  // namespace tesmora
