// tesmora-mux: puts the subpicture packs of a VobSub .sub file into a DVD
// program stream of video and audio (an MPEG file of 2048-byte packs, such
// as `ffmpeg -target pal-dvd` writes), each unit in a PES packet of its own
// with its own PTS, for dvdauthor. Standard library and POSIX only.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <iostream>
#include <span>
#include <string>

#include "core/IoError.h"
#include "files/InterruptCleanup.h"
#include "files/OutputFileError.h"
#include "files/PendingFile.h"
#include "output/SubpictureMux.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// An input file mapped into memory read-only, so that a film of gigabytes
// is read from the disk as it is used.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
      throw tesmora::IoErrorFromErrno(errno);
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
      const int errnum = errno;
      close(descriptor);
      throw tesmora::IoError(S_ISDIR(status.st_mode) ? "File is a folder"
                                                     : tesmora::IoErrorText(errnum));
    }
    size_ = static_cast<std::size_t>(status.st_size);
    if (size_ > 0) {
      void* address = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, descriptor, 0);
      if (address == MAP_FAILED) {
        const int errnum = errno;
        close(descriptor);
        throw tesmora::IoErrorFromErrno(errnum);
      }
      data_ = static_cast<const std::uint8_t*>(address);
      madvise(address, size_, MADV_SEQUENTIAL);
    }
    close(descriptor);
  }
  ~MappedFile() {
    if (data_ != nullptr) {
      munmap(const_cast<std::uint8_t*>(data_), size_);
    }
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::cerr << "Usage: tesmora-mux VIDEO.mpg SUBTITLES.sub OUTPUT.mpg\n";
    return kExitUsage;
  }
  const std::string videoPath = argv[1];
  const std::string subtitlePath = argv[2];
  const std::string outputPath = argv[3];
  tesmora::InstallInterruptCleanup();
  std::string reading = videoPath;
  try {
    const MappedFile video(videoPath);
    reading = subtitlePath;
    const MappedFile subtitles(subtitlePath);
    reading.clear();
    tesmora::PendingFile output(outputPath);
    tesmora::MuxSubpictures(
        video.bytes(), subtitles.bytes(),
        [&output](std::span<const std::uint8_t> bytes) { output.write(bytes); });
    output.finish();
    output.checkTarget();
    output.replaceTarget();
    return 0;
  } catch (const tesmora::ProgramStreamError& error) {
    // The text starts with "video: " or "subtitles: ".
    const std::string text = error.what();
    const bool video = text.starts_with("video: ");
    std::cerr << "tesmora-mux: " << (video ? videoPath : subtitlePath) << ": "
              << text.substr(text.find(": ") + 2) << '\n';
  } catch (const tesmora::OutputFileError& error) {
    std::cerr << "tesmora-mux: " << error.target().string() << ": " << error.what() << '\n';
  } catch (const tesmora::IoError& error) {
    std::cerr << "tesmora-mux: " << (reading.empty() ? outputPath : reading) << ": " << error.what()
              << '\n';
  }
  return kExitFailed;
}
