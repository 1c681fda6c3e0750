#pragma once

// What the Blu-ray converter tests read back from a stream, and FFmpeg's
// drawing of a frame, shared by the tests of the PGS and BDN runs.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "pgs/SegmentTypes.h"
#include "pgs/StreamCheck.h"
#include "pgs/StreamReader.h"
#include "tests/cli/ExternalTool.h"

namespace tesmora::testing {

inline std::span<const std::uint8_t> Bytes(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()),
          static_cast<std::size_t>(bytes.size())};
}

// Every breach the checker finds in `stream`, a line each.
inline std::string Breaches(const QByteArray& stream) {
  std::string lines;
  for (const pgs::Breach& breach : pgs::CheckStream(Bytes(stream)).breaches) {
    lines += pgs::BreachLine(breach) + "\n";
  }
  return lines;
}

// One composition as read back: when it shows and its objects' vertical
// place and forced flag.
struct Shown {
  std::uint32_t pts = 0;
  bool paletteOnly = false;
  std::vector<std::pair<int, bool>> objects;  // y, forced
};

inline std::vector<Shown> Compositions(const QByteArray& stream) {
  std::vector<Shown> shown;
  for (const pgs::DisplaySet& set : pgs::ReadStream(Bytes(stream)).sets) {
    for (const pgs::Segment& segment : set.segments) {
      if (segment.type != static_cast<std::uint8_t>(pgs::SegmentType::Composition)) {
        continue;
      }
      const std::vector<std::uint8_t>& p = segment.payload;
      Shown one{segment.pts, (p.at(8) & 0x80) != 0, {}};
      // Size, rate, number, state, palette flags and id, object count;
      // then eight bytes an object (more when cropped, which ours never
      // are): ids, flags, x, y.
      for (int n = 0; n < p.at(10); ++n) {
        const std::size_t at = 11 + static_cast<std::size_t>(n) * 8;
        one.objects.emplace_back(p.at(at + 6) << 8 | p.at(at + 7),
                                 (p.at(at + 3) & pgs::kObjectForced) != 0);
      }
      shown.push_back(std::move(one));
    }
  }
  return shown;
}

// FFmpeg's RGB frame at 2 s over mid grey, on which both the text and its
// black outline show, with `filter` drawing the subtitles
// ("[0][1:s]overlay" for a stream, "ass=…" for a script).
inline QByteArray FrameAt2s(const QString& size, const QStringList& inputs, const QString& filter) {
  QStringList arguments{"-v",
                        "error",
                        "-copyts",
                        "-f",
                        "lavfi",
                        "-i",
                        QStringLiteral("color=0x808080:s=%1:r=10,format=rgb24").arg(size)};
  for (const QString& input : inputs) {
    arguments << "-i" << input;
  }
  arguments << "-filter_complex" << filter + ",select='eq(n,20)'"
            << "-frames:v"
            << "1"
            << "-f"
            << "rawvideo"
            << "-pix_fmt"
            << "rgb24"
            << "-";
  const ToolResult result = RunTool(QStringLiteral("ffmpeg"), arguments);
  EXPECT_EQ(result.code, 0) << result.err.toStdString();
  return result.out;
}

// Two RGB frames of `width` × `height` over mid grey compared: the box of
// every pixel either one draws, and how many of the box's pixels are within
// 6 levels of each other in every channel.
struct FrameAgreement {
  QRect box;
  long long inBox = 0;
  long long close = 0;
};

inline FrameAgreement CompareFrames(const QByteArray& ours, const QByteArray& theirs, int width,
                                    int height) {
  FrameAgreement agreement;
  const qsizetype size = qsizetype{width} * height * 3;
  EXPECT_EQ(ours.size(), size);
  EXPECT_EQ(theirs.size(), size);
  if (ours.size() != size || theirs.size() != size) {
    return agreement;
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const qsizetype at = (qsizetype{y} * width + x) * 3;
      for (int c = 0; c < 3; ++c) {
        if (ours[at + c] != '\x80' || theirs[at + c] != '\x80') {
          agreement.box |= QRect(x, y, 1, 1);
        }
      }
    }
  }
  const QRect& box = agreement.box;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      const qsizetype at = (qsizetype{y} * width + x) * 3;
      bool near = true;
      for (int c = 0; c < 3; ++c) {
        near = near && std::abs(static_cast<std::uint8_t>(ours[at + c]) -
                                static_cast<std::uint8_t>(theirs[at + c])) <= 6;
      }
      ++agreement.inBox;
      agreement.close += near ? 1 : 0;
    }
  }
  return agreement;
}

}  // namespace tesmora::testing
