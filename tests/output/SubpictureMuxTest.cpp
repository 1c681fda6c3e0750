#include "output/SubpictureMux.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "output/VobSubPacks.h"

namespace tesmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A pack header with SCR base `scr` (extension 0) and the mux rate bytes
// `rate`, without stuffing.
void PutPackHeader(Bytes& out, std::uint64_t scr, std::uint8_t rate = 0xC3) {
  out.insert(out.end(), {0x00, 0x00, 0x01, 0xBA});
  out.push_back(static_cast<std::uint8_t>(0x44 | (scr >> 27 & 0x38) | (scr >> 28 & 0x03)));
  out.push_back(static_cast<std::uint8_t>(scr >> 20 & 0xFF));
  out.push_back(static_cast<std::uint8_t>(0x04 | (scr >> 12 & 0xF8) | (scr >> 13 & 0x03)));
  out.push_back(static_cast<std::uint8_t>(scr >> 5 & 0xFF));
  out.push_back(static_cast<std::uint8_t>(0x04 | (scr << 3 & 0xF8)));
  out.insert(out.end(), {0x01, 0x01, 0x89, rate, 0xF8});
}

// One PES packet of `stream` that fills the pack up to 2048 bytes, with a
// PTS when `pts` is not negative; its payload bytes are all `fill`.
void PutFillingPes(Bytes& out, std::size_t packStart, std::uint8_t stream, std::int64_t pts,
                   std::uint8_t fill) {
  const std::size_t length = packStart + kDvdPackSize - out.size() - 6;
  out.insert(out.end(), {0x00, 0x00, 0x01, stream, static_cast<std::uint8_t>(length >> 8),
                         static_cast<std::uint8_t>(length & 0xFF)});
  const std::size_t payloadStart = out.size();
  out.insert(out.end(), {0x81, static_cast<std::uint8_t>(pts >= 0 ? 0x80 : 0x00),
                         static_cast<std::uint8_t>(pts >= 0 ? 5 : 0)});
  if (pts >= 0) {
    std::uint8_t field[5];
    WritePtsField(field, static_cast<std::uint64_t>(pts));
    out.insert(out.end(), field, field + 5);
  }
  out.resize(payloadStart + length, fill);
}

void PutVideoPack(Bytes& out, std::uint64_t scr, std::int64_t pts = -1, std::uint8_t fill = 0x11) {
  const std::size_t start = out.size();
  PutPackHeader(out, scr);
  PutFillingPes(out, start, 0xE0, pts, fill);
}

// A navigation pack as FFmpeg writes them: a system header, then PCI and
// DSI in private stream 2.
void PutNavigationPack(Bytes& out, std::uint64_t scr) {
  const std::size_t start = out.size();
  PutPackHeader(out, scr);
  out.insert(out.end(), {0x00, 0x00, 0x01, 0xBB, 0x00, 0x06, 1, 2, 3, 4, 5, 6});
  out.insert(out.end(), {0x00, 0x00, 0x01, 0xBF, 0x03, 0xD4});
  out.resize(out.size() + 0x3D4, 0x00);
  PutFillingPes(out, start, 0xBF, -1, 0x00);
}

// What the tests read back of each pack of the output.
struct OutPack {
  std::uint64_t scr = 0;
  std::uint8_t stream = 0;
  std::uint8_t rate = 0;
  std::int64_t pts = -1;
};

std::vector<OutPack> ReadOut(const Bytes& out) {
  std::vector<OutPack> packs;
  for (std::size_t at = 0; at + kDvdPackSize <= out.size(); at += kDvdPackSize) {
    const PackInfo info = ReadDvdPack(out, at);
    OutPack pack;
    pack.scr = info.scr / 300;
    pack.rate = out[at + 12];
    const std::size_t pes = at + 14;
    pack.stream = info.navigation ? 0xBF : out[pes + 3];
    if (!info.navigation && (out[pes + 7] & 0x80) != 0) {
      pack.pts =
          static_cast<std::int64_t>(ReadPtsField(std::span(out).subspan(pes + 9).first<5>()));
    }
    packs.push_back(pack);
  }
  return packs;
}

Bytes Mux(const Bytes& video, const Bytes& subtitles, std::size_t* units = nullptr) {
  Bytes out;
  const std::size_t count = MuxSubpictures(
      video, subtitles, [&out](auto bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); });
  if (units != nullptr) {
    *units = count;
  }
  return out;
}

Bytes Counting(std::size_t size) {
  Bytes bytes(size);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
  return bytes;
}

// Video packs every 0.1 s from SCR 0, the first carrying PTS 0.5 s: the
// subtitle time 0 is 0.5 s on the video's clock.
Bytes TenthSecondVideo(int count) {
  Bytes video;
  for (int n = 0; n < count; ++n) {
    PutVideoPack(video, 9000u * static_cast<unsigned>(n), n == 0 ? 45000 : -1);
  }
  return video;
}

TEST(MuxSubpictures, GivesEveryUnitItsOwnPacketAndPtsAheadOfTheVideoDueAfterIt) {
  const Bytes small = Counting(40);
  // Three units 150 and 40 ms apart, the last spread over two packs.
  const Bytes large = Counting(3000);
  const VobSubUnit units[] = {{18000, small}, {31500, small}, {35100, large}};
  const VobSubPacks sub = BuildVobSubPacks(units);
  std::size_t count = 0;
  const Bytes out = Mux(TenthSecondVideo(10), sub.bytes, &count);
  EXPECT_EQ(count, 3u);
  ASSERT_EQ(out.size(), 14 * kDvdPackSize);
  const std::vector<OutPack> packs = ReadOut(out);
  // Unit 1 is shown at 0.7 s and due 0.1 s earlier: it goes in before the
  // first pack with a later SCR (0.7 s), with the SCR of the pack before.
  // Units 2 and 3 (0.85 s and 0.89 s) go in before the pack at 0.8 s.
  const std::vector<std::uint8_t> streams = {0xE0, 0xE0, 0xE0, 0xE0, 0xE0, 0xE0, 0xE0,
                                             0xBD, 0xE0, 0xBD, 0xBD, 0xBD, 0xE0, 0xE0};
  const std::vector<std::uint64_t> scrs = {0,     9000,  18000, 27000, 36000, 45000, 54000,
                                           54000, 63000, 63000, 63000, 63000, 72000, 81000};
  const std::vector<std::int64_t> pts = {45000, -1, -1,    -1,    -1, -1, -1,
                                         63000, -1, 76500, 80100, -1, -1, -1};
  for (std::size_t n = 0; n < packs.size(); ++n) {
    EXPECT_EQ(packs[n].stream, streams[n]) << "pack " << n;
    EXPECT_EQ(packs[n].scr, scrs[n]) << "pack " << n;
    EXPECT_EQ(packs[n].pts, pts[n]) << "pack " << n;
    EXPECT_EQ(packs[n].rate, 0xC3) << "pack " << n;
  }
  // The subpicture packs are the .sub file's apart from SCR and PTS.
  const std::size_t positions[] = {7, 9, 10, 11};
  for (std::size_t n = 0; n < 4; ++n) {
    const auto muxed = std::span(out).subspan(positions[n] * kDvdPackSize, kDvdPackSize);
    const auto original = std::span(sub.bytes).subspan(n * kDvdPackSize, kDvdPackSize);
    EXPECT_TRUE(std::equal(muxed.begin() + 14, muxed.begin() + 23, original.begin() + 14));
    const std::size_t afterPts = n == 3 ? 23 : 28;
    EXPECT_TRUE(std::equal(muxed.begin() + afterPts, muxed.end(), original.begin() + afterPts))
        << "pack " << n;
  }
  // The video passes through byte for byte.
  const Bytes video = TenthSecondVideo(10);
  EXPECT_TRUE(
      std::equal(out.begin() + 12 * kDvdPackSize, out.end(), video.end() - 2 * kDvdPackSize));
}

TEST(MuxSubpictures, TakesTheMuxRateOfTheStreamAndTheEarliestVideoPtsAsTheStart) {
  // The first video packet in the file is not the first shown: the earliest
  // PTS counts. The stream's mux rate differs from the .sub file's.
  Bytes video;
  PutVideoPack(video, 0, 48600);
  PutVideoPack(video, 9000, 45000);
  for (int n = 2; n < 5; ++n) {
    const std::size_t start = video.size();
    PutPackHeader(video, 9000u * static_cast<unsigned>(n), 0xA0);
    PutFillingPes(video, start, 0xC0, -1, 0x22);
  }
  const Bytes small = Counting(10);
  const VobSubUnit units[] = {{0, small}};
  const std::vector<OutPack> packs = ReadOut(Mux(video, BuildVobSubPacks(units).bytes));
  ASSERT_EQ(packs.size(), 6u);
  // Due at 0.4 s: no pack comes later, so it follows the last one and takes
  // its SCR and mux rate.
  EXPECT_EQ(packs[5].stream, 0xBD);
  EXPECT_EQ(packs[5].pts, 45000);
  EXPECT_EQ(packs[5].scr, 36000u);
  EXPECT_EQ(packs[5].rate, 0xA0);
}

TEST(MuxSubpictures, KeepsNavigationPacksWithTheirVideoAndPutsLateUnitsAtTheEnd) {
  Bytes video;
  PutNavigationPack(video, 0);
  PutVideoPack(video, 100, 9000);
  PutVideoPack(video, 9000);
  PutNavigationPack(video, 18000);
  PutVideoPack(video, 18100);
  PutVideoPack(video, 27000);
  video.insert(video.end(), {0x00, 0x00, 0x01, 0xB9});
  const Bytes small = Counting(10);
  // The video starts at PTS 0.1 s. The first unit is due at 0.2 s: after
  // the second navigation pack's SCR, before the pack after it. The second
  // is due after the video's last pack.
  const VobSubUnit units[] = {{18000, small}, {90000, small}};
  const Bytes out = Mux(video, BuildVobSubPacks(units).bytes);
  ASSERT_EQ(out.size(), 8 * kDvdPackSize + 4);
  const std::vector<OutPack> packs = ReadOut(out);
  const std::vector<std::uint8_t> streams = {0xBF, 0xE0, 0xE0, 0xBD, 0xBF, 0xE0, 0xE0, 0xBD};
  const std::vector<std::uint64_t> scrs = {0, 100, 9000, 9000, 18000, 18100, 27000, 27000};
  for (std::size_t n = 0; n < packs.size(); ++n) {
    EXPECT_EQ(packs[n].stream, streams[n]) << "pack " << n;
    EXPECT_EQ(packs[n].scr, scrs[n]) << "pack " << n;
  }
  EXPECT_EQ(packs[3].pts, 27000);
  EXPECT_EQ(packs[7].pts, 99000);
  EXPECT_EQ(Bytes(out.end() - 4, out.end()), (Bytes{0x00, 0x00, 0x01, 0xB9}));
}

// The message for bad input, and that nothing was written.
std::string Refusal(const Bytes& video, const Bytes& subtitles) {
  bool wrote = false;
  try {
    MuxSubpictures(video, subtitles, [&wrote](auto) { wrote = true; });
  } catch (const ProgramStreamError& error) {
    EXPECT_FALSE(wrote);
    return error.what();
  }
  return "accepted";
}

TEST(MuxSubpictures, RefusesBadInputBeforeWritingAnything) {
  const Bytes small = Counting(10);
  const VobSubUnit units[] = {{9000, small}, {18000, small}};
  const Bytes sub = BuildVobSubPacks(units).bytes;
  const Bytes video = TenthSecondVideo(3);

  Bytes cut = video;
  cut.resize(cut.size() - 1);
  EXPECT_EQ(Refusal(cut, sub),
            "video: not a DVD program stream: the file ends inside a pack at byte 4096");
  Bytes noStart = video;
  noStart[2048] = 0x47;
  EXPECT_EQ(Refusal(noStart, sub),
            "video: not a DVD program stream: no pack start code at byte 2048");
  Bytes mpeg1 = video;
  mpeg1[2048 + 4] = 0x21;
  EXPECT_EQ(Refusal(mpeg1, sub),
            "video: not a DVD program stream: not an MPEG-2 pack header at byte 2048");
  Bytes overrun = video;
  overrun[2048 + 18] = 0x08;
  EXPECT_EQ(Refusal(overrun, sub),
            "video: not a DVD program stream: a packet runs past the end of its 2048-byte pack "
            "at byte 2062");
  Bytes shortPes = video;
  shortPes[2048 + 19] -= 1;
  EXPECT_EQ(Refusal(shortPes, sub),
            "video: not a DVD program stream: no packet start code at byte 4095");
  Bytes noPts;
  PutVideoPack(noPts, 0);
  EXPECT_EQ(Refusal(noPts, sub), "video: no video packet with a time stamp");
  EXPECT_EQ(Refusal({}, sub), "video: no packs");

  EXPECT_EQ(Refusal(video, Bytes(sub.begin(), sub.end() - 10)),
            "subtitles: not a DVD program stream: the file ends inside a pack at byte 2048");
  EXPECT_EQ(Refusal(video, video), "subtitles: no subpicture packet at byte 14");
  Bytes audio = sub;
  audio[14 + 9 + 5] = 0x80;
  EXPECT_EQ(Refusal(video, audio), "subtitles: no subpicture packet at byte 14");
  const VobSubUnit backwards[] = {{18000, small}, {9000, small}};
  EXPECT_EQ(Refusal(video, BuildVobSubPacks(backwards).bytes),
            "subtitles: the unit at byte 2048 starts before the one ahead of it");
  const Bytes large = Counting(3000);
  const VobSubUnit split[] = {{9000, large}};
  const Bytes splitPacks = BuildVobSubPacks(split).bytes;
  EXPECT_EQ(Refusal(video, Bytes(splitPacks.begin() + 2048, splitPacks.end())),
            "subtitles: the first packet has no time stamp at byte 14");
}

}  // namespace
}  // namespace tesmora
