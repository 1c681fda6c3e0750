#include "palette/IfoReader.h"

#include <cerrno>
#include <fstream>

#include "core/IoError.h"

namespace tesmora {
namespace {

constexpr char kTitleSetId[] = "DVDVIDEO-VTS";
constexpr std::uint64_t kSectorSize = 2048;
constexpr std::uint64_t kTableSectorAt = 204;
constexpr std::uint64_t kFirstChainStartAt = 12;
constexpr std::uint64_t kColourTableInChain = 164;
constexpr std::uint64_t kVideoAttributesAt = 512;

class IfoFile {
 public:
  IfoFile(std::istream& file, std::string name) : name_(std::move(name)), file_(file) {}

  // Reads `size` bytes at `position`; a file that ends first is incomplete.
  void read(std::uint64_t position, void* into, std::size_t size) {
    file_.clear();
    errno = 0;
    file_.seekg(static_cast<std::streamoff>(position));
    file_.read(static_cast<char*>(into), static_cast<std::streamsize>(size));
    if (file_.gcount() == static_cast<std::streamsize>(size)) {
      return;
    }
    if (file_.bad()) {
      throw IoErrorFromErrno(errno != 0 ? errno : EIO);
    }
    throw Incomplete();
  }

  std::uint32_t read32(std::uint64_t position) {
    unsigned char bytes[4];
    read(position, bytes, 4);
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
  }

  IfoFormatError Incomplete() const {
    return IfoFormatError("The file " + name_ +
                          " is not a complete title-set IFO: it ends before the subtitle palette "
                          "it points to. Nothing was loaded.");
  }

  IfoFormatError NotTitleSet() const {
    return IfoFormatError("The file " + name_ +
                          " is not the IFO of a title set. Please load the IFO of the title set "
                          "that gets the subtitles, a VTS_xx_0.IFO file such as VTS_01_0.IFO. "
                          "Nothing was loaded.");
  }

  const std::string& name() const { return name_; }

 private:
  std::string name_;
  std::istream& file_;
};

}  // namespace

IfoPaletteData ReadIfoPalette(const std::filesystem::path& path) {
  errno = 0;
  std::ifstream stream(path, std::ios::binary);
  if (!stream.is_open()) {
    throw IoErrorFromErrno(errno != 0 ? errno : EIO);
  }
  return ReadIfoPaletteFrom(stream, path.filename().string());
}

IfoPaletteData ReadIfoPaletteFrom(std::istream& stream, const std::string& fileName) {
  IfoFile file(stream, fileName);
  char id[sizeof kTitleSetId - 1] = {};
  try {
    file.read(0, id, sizeof id);
  } catch (const IfoFormatError&) {
    throw file.NotTitleSet();
  }
  if (std::string(id, sizeof id) != kTitleSetId) {
    throw file.NotTitleSet();
  }
  const std::uint64_t table = file.read32(kTableSectorAt) * kSectorSize;
  const std::uint64_t chain = table + file.read32(table + kFirstChainStartAt);
  IfoPaletteData data;
  unsigned char entries[16 * 4];
  file.read(chain + kColourTableInChain, entries, sizeof entries);
  for (std::size_t n = 0; n < 16; ++n) {
    const unsigned char* e = entries + 4 * n;
    data.entries[n] = static_cast<std::uint32_t>(e[0]) << 24 |
                      static_cast<std::uint32_t>(e[1]) << 16 |
                      static_cast<std::uint32_t>(e[2]) << 8 | e[3];
  }
  unsigned char attributes[2];
  file.read(kVideoAttributesAt, attributes, 2);
  data.videoAttributes = static_cast<std::uint16_t>(attributes[0] << 8 | attributes[1]);
  return data;
}

}  // namespace tesmora
