// The DVD multiplexer on arbitrary video and subtitle streams: the first
// two bytes give the length of the video part, the rest is the subtitles'.
// Whatever it is given, it refuses with a ProgramStreamError or writes a
// stream of whole DVD packs holding every video pack.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "output/ProgramStreamPack.h"
#include "output/SubpictureMux.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) {
    return 0;
  }
  const std::size_t split = std::min<std::size_t>((std::size_t{data[0]} << 8 | data[1]), size - 2);
  const std::span<const std::uint8_t> video(data + 2, split);
  const std::span<const std::uint8_t> subtitles(data + 2 + split, size - 2 - split);
  std::vector<std::uint8_t> out;
  try {
    tesmora::MuxSubpictures(video, subtitles, [&out](std::span<const std::uint8_t> piece) {
      out.insert(out.end(), piece.begin(), piece.end());
    });
  } catch (const tesmora::ProgramStreamError&) {
    if (!out.empty()) {
      std::abort();  // bad input must be refused before anything is written
    }
    return 0;
  }
  if (out.size() < video.size()) {
    std::abort();
  }
  std::size_t at = 0;
  while (at < out.size() && !tesmora::IsProgramEnd(out, at)) {
    (void)tesmora::ReadDvdPack(out, at);  // throws, and so fails, on a broken pack
    at += tesmora::kDvdPackSize;
  }
  return 0;
}
