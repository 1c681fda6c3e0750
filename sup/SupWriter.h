#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>

#include "sup/SupPacket.h"

namespace tesmora {

// Writes a file (a subpicture stream, a help text) without ever leaving a
// partial file behind.
// Packets go to a temporary file in the target's folder; close() renames it
// over the target once everything is written. A writer that is destroyed
// without a successful close() removes the temporary file, so an earlier
// stream of the same name stays as it was.
//
// Every failure throws IoError with the user's text for it.
class SupWriter {
 public:
  SupWriter() = default;
  ~SupWriter();
  SupWriter(const SupWriter&) = delete;
  SupWriter& operator=(const SupWriter&) = delete;

  void open(const std::filesystem::path& target);
  void writePacket(std::span<const std::uint8_t> header, std::span<const std::uint8_t> unit);
  void writePacket(const SupPacket& packet) { writePacket(packet.header, packet.unit); }
  void writeBytes(std::span<const std::uint8_t> bytes) { write(bytes); }
  void close();

  // Drops what was written so far; the target is left untouched.
  void abandon() noexcept;

  bool isOpen() const { return file_ != nullptr; }

  // The temporary file that receives the packets while the writer is open.
  static std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);

 private:
  void write(std::span<const std::uint8_t> bytes);
  [[noreturn]] void failWith(int errnum);

  std::FILE* file_ = nullptr;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
};

}  // namespace tesmora
