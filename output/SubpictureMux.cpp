#include "output/SubpictureMux.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace tesmora {
namespace {

constexpr std::uint8_t kPrivateStream1 = 0xBD;
constexpr std::uint8_t kSubpictureFirst = 0x20;
constexpr std::uint8_t kSubpictureLast = 0x3F;
constexpr std::size_t kPackHeaderSize = 14;
// The SCR field and the mux rate field of a pack header.
constexpr std::size_t kScrAt = 4;
constexpr std::size_t kScrSize = 6;
constexpr std::size_t kMuxRateAt = 10;
constexpr std::size_t kMuxRateSize = 3;
constexpr std::uint64_t kPtsMask = (std::uint64_t{1} << 33) - 1;

struct VideoPacks {
  std::vector<std::uint64_t> scrs;
  std::vector<bool> navigation;
  std::uint64_t startPts = 0;
  bool ended = false;
};

struct SubpictureUnit {
  std::uint64_t pts = 0;
  std::size_t firstPack = 0;
  std::size_t packCount = 0;
  // Where the PTS field of its first pack is, from the pack's start.
  std::size_t ptsAt = 0;
};

[[noreturn]] void Refuse(const char* input, const std::string& text) {
  throw ProgramStreamError(std::string(input) + ": " + text);
}

VideoPacks ReadVideo(std::span<const std::uint8_t> video) {
  VideoPacks packs;
  std::optional<std::uint64_t> startPts;
  std::size_t at = 0;
  try {
    while (at < video.size() && !IsProgramEnd(video, at)) {
      const PackInfo pack = ReadDvdPack(video, at);
      packs.scrs.push_back(pack.scr);
      packs.navigation.push_back(pack.navigation);
      if (pack.videoPts && (!startPts || *pack.videoPts < *startPts)) {
        startPts = pack.videoPts;
      }
      at += kDvdPackSize;
    }
  } catch (const ProgramStreamError& error) {
    Refuse("video", error.what());
  }
  if (packs.scrs.empty()) {
    Refuse("video", "no packs");
  }
  if (!startPts) {
    Refuse("video", "no video packet with a time stamp");
  }
  packs.startPts = *startPts;
  packs.ended = at < video.size();
  return packs;
}

// The units of a VobSub .sub file: runs of packs of one subpicture
// substream, each unit begun by a pack whose PES header carries a PTS.
std::vector<SubpictureUnit> ReadUnits(std::span<const std::uint8_t> subtitles) {
  std::vector<SubpictureUnit> units;
  try {
    for (std::size_t at = 0; at < subtitles.size(); at += kDvdPackSize) {
      const PackInfo info = ReadDvdPack(subtitles, at);
      const std::size_t pes = at + kPackHeaderSize + (subtitles[at + 13] & 0x07);
      // Start code, length, 2 flag bytes and the header length come first.
      const std::size_t headerData = subtitles[pes + 8];
      const std::size_t length =
          static_cast<std::size_t>(subtitles[pes + 4] << 8 | subtitles[pes + 5]);
      if (info.firstStream != kPrivateStream1 || length < 3 + headerData + 1 ||
          (subtitles[pes + 6] & 0xC0) != 0x80) {
        Refuse("subtitles", "no subpicture packet at byte " + std::to_string(pes));
      }
      const std::uint8_t substream = subtitles[pes + 9 + headerData];
      if (substream < kSubpictureFirst || substream > kSubpictureLast) {
        Refuse("subtitles", "no subpicture packet at byte " + std::to_string(pes));
      }
      const bool hasPts = (subtitles[pes + 7] & 0x80) != 0 && headerData >= 5;
      if (hasPts) {
        const std::uint64_t pts = ReadPtsField(subtitles.subspan(pes + 9).first<5>());
        if (!units.empty() && pts < units.back().pts) {
          Refuse("subtitles",
                 "the unit at byte " + std::to_string(at) + " starts before the one ahead of it");
        }
        units.push_back({pts, at / kDvdPackSize, 1, pes + 9 - at});
      } else if (units.empty()) {
        Refuse("subtitles", "the first packet has no time stamp at byte " + std::to_string(pes));
      } else {
        ++units.back().packCount;
      }
    }
  } catch (const ProgramStreamError& error) {
    const std::string text = error.what();
    if (text.starts_with("subtitles: ")) {
      throw;
    }
    Refuse("subtitles", text);
  }
  return units;
}

}  // namespace

std::size_t MuxSubpictures(std::span<const std::uint8_t> video,
                           std::span<const std::uint8_t> subtitles, const PackSink& sink) {
  const VideoPacks packs = ReadVideo(video);
  const std::vector<SubpictureUnit> units = ReadUnits(subtitles);

  std::array<std::uint8_t, kDvdPackSize> copy{};
  // Writes one unit's packs with the SCR and mux rate of the video pack at
  // `before`, and its PTS moved to the video's time line.
  const auto putUnit = [&](const SubpictureUnit& unit, std::size_t before) {
    const std::span<const std::uint8_t> header =
        video.subspan(before * kDvdPackSize, kPackHeaderSize);
    for (std::size_t n = 0; n < unit.packCount; ++n) {
      const auto pack = subtitles.subspan((unit.firstPack + n) * kDvdPackSize, kDvdPackSize);
      std::copy(pack.begin(), pack.end(), copy.begin());
      std::copy_n(header.begin() + kScrAt, kScrSize, copy.begin() + kScrAt);
      std::copy_n(header.begin() + kMuxRateAt, kMuxRateSize, copy.begin() + kMuxRateAt);
      if (n == 0) {
        WritePtsField(std::span(copy).subspan(unit.ptsAt).first<5>(),
                      (unit.pts + packs.startPts) & kPtsMask);
      }
      sink(copy);
    }
  };

  // A navigation pack and the pack after it stay together: a unit due
  // before the pack that follows a navigation pack goes in ahead of the
  // navigation pack, into the video object unit before.
  const std::size_t count = packs.scrs.size();
  std::size_t next = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const bool afterNavigation = i > 0 && packs.navigation[i - 1];
    const std::uint64_t scr =
        packs.navigation[i] && i + 1 < count ? packs.scrs[i + 1] : packs.scrs[i];
    while (i > 0 && !afterNavigation && next < units.size()) {
      const std::uint64_t pts = units[next].pts + packs.startPts;
      const std::uint64_t due = pts > kSubpictureLead ? pts - kSubpictureLead : 0;
      if (due * 300 >= scr) {
        break;
      }
      putUnit(units[next++], i - 1);
    }
    sink(video.subspan(i * kDvdPackSize, kDvdPackSize));
  }
  for (; next < units.size(); ++next) {
    putUnit(units[next], packs.scrs.size() - 1);
  }
  if (packs.ended) {
    sink(video.last(4));
  }
  return units.size();
}

}  // namespace tesmora
