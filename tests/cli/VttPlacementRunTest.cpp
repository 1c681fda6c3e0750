// WebVTT cue settings on both targets: where each cue's ink lands on the DVD
// subpicture and on the Blu-ray picture, checked against the places the
// WebVTT rendering rules give, worked out by hand for the default style.
#include <gtest/gtest.h>

#include <QRect>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <span>

#include "pgs/SegmentPayloads.h"
#include "pgs/SegmentTypes.h"
#include "pgs/StreamReader.h"
#include "tests/cli/CliHarness.h"
#include "tests/cli/SupStream.h"

namespace tesmora {
namespace {

using testing::PacketSummary;
using testing::ReadBytes;
using testing::ReadPackets;
using testing::RunConverter;
using testing::WriteBytes;

// One cue from 1 s to 3 s with the given settings and text.
QByteArray Vtt(const char* settings, const char* text) {
  return QByteArray("WEBVTT\n\n00:01.000 --> 00:03.000 ") + settings + "\n" + text + "\n";
}

QByteArray Srt(const char* text) {
  return QByteArray("1\n00:00:01,000 --> 00:00:03,000\n") + text + "\n";
}

// A line narrower than the DVD's line limit but wider than half the frame.
constexpr const char* kLong = "The harbour lights were lit along the quay";
// A line that takes most of a Blu-ray frame's width.
constexpr const char* kLongHd = "The harbour lights were lit one by one along the quay";

// The frame rows and columns of every drawn pixel of a DVD subpicture.
QRect InkOf(const PacketSummary& packet) {
  QRect ink;
  const std::size_t topRows = (packet.rows.size() + 1) / 2;
  for (std::size_t k = 0; k < packet.rows.size(); ++k) {
    // The top field holds the even rows of the band, the bottom field the odd.
    const int row = packet.firstRow + static_cast<int>(k < topRows ? 2 * k : 2 * (k - topRows) + 1);
    const auto& pixels = packet.rows[k];
    for (std::size_t x = 0; x < pixels.size(); ++x) {
      if (pixels[x] != 0) {
        ink |= QRect(static_cast<int>(x), row, 1, 1);
      }
    }
  }
  return ink;
}

// The stretches of rows that hold ink: one per drawn line of text.
int InkLines(const PacketSummary& packet) {
  return testing::RowStretches(packet, [](std::uint8_t code) { return code != 0; });
}

// The frame box of every object the stream's compositions show.
QRect ObjectsOf(const QByteArray& stream) {
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(stream.data()),
                                            static_cast<std::size_t>(stream.size()));
  QRect box;
  for (const pgs::DisplaySet& set : pgs::ReadStream(bytes).sets) {
    std::vector<pgs::payload::CompositionObject> shown;
    std::map<int, QSize> sizes;
    for (const pgs::Segment& segment : set.segments) {
      if (segment.type == static_cast<std::uint8_t>(pgs::SegmentType::Composition)) {
        shown = pgs::payload::ParseComposition(segment.payload).fields->objects;
      } else if (segment.type == static_cast<std::uint8_t>(pgs::SegmentType::Object)) {
        const auto object = pgs::payload::ParseObjectFragment(segment.payload).fields;
        if (object && object->first) {
          sizes[object->id] = QSize(object->width, object->height);
        }
      }
    }
    for (const pgs::payload::CompositionObject& object : shown) {
      box |= QRect(QPoint(object.x, object.y), sizes[object.objectId]);
    }
  }
  return box;
}

class cliVttPlacement : public ::testing::Test {
 protected:
  // The single subpicture of a DVD run.
  PacketSummary dvd(const QByteArray& file, const char* name = "cue.vtt") {
    const QString path = dir.filePath(name);
    WriteBytes(path, file);
    const auto outcome = RunConverter({"--quiet", path});
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    const auto packets = ReadPackets(ReadBytes(dir.filePath("Generated.sup")));
    EXPECT_EQ(packets.size(), 1u);
    return packets.empty() ? PacketSummary{} : packets[0];
  }
  // The box of the objects of a 1080-line Blu-ray run.
  QRect hd(const QByteArray& file, const char* name = "cue.vtt") {
    const QString path = dir.filePath(name);
    WriteBytes(path, file);
    const auto outcome = RunConverter({"--format", "pgs", "--video", "1080", "--quiet", path});
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    return ObjectsOf(ReadBytes(dir.filePath("Generated.sup")));
  }

  QTemporaryDir dir;
};

// The default DVD style on PAL: text lines may stand from row 70 (40 rows
// of edge and an offset of 30) to row 506; the cell of a 22-point line is
// about 33 rows, its capitals start a few rows below the cell's top, and
// the outline adds 3 pixels all round.
TEST_F(cliVttPlacement, DvdCuesStandWhereTheirSettingsPutThem) {
  // line:0 is the top line; no line and line:-1 are the bottom line, where
  // a one-line SRT cue stands.
  const QRect top = InkOf(dvd(Vtt("line:0", "Harbour")));
  EXPECT_GE(top.top(), 70 - 3);
  EXPECT_LE(top.top(), 70 + 10);
  const PacketSummary srt = dvd(Srt("Harbour"), "cue.srt");
  const PacketSummary bottom = dvd(Vtt("line:-1", "Harbour"));
  EXPECT_EQ(InkOf(bottom), InkOf(srt));
  EXPECT_LE(InkOf(bottom).bottom(), 506);
  EXPECT_GE(InkOf(bottom).bottom(), 506 - 12);
  EXPECT_EQ(InkOf(dvd(Vtt("", "Harbour"))), InkOf(srt));
  // Lines are counted a line step apart: a cell and 4 rows.
  const int step = InkOf(dvd(Vtt("line:1", "Harbour"))).top() - top.top();
  EXPECT_GE(step, 30);
  EXPECT_LE(step, 45);
  EXPECT_EQ(InkOf(dvd(Vtt("line:2", "Harbour"))).top() - top.top(), 2 * step);
  EXPECT_EQ(InkOf(dvd(Vtt("line:-2", "Harbour"))).top(), InkOf(bottom).top() - step);

  // line:50% puts the cue's top at half the frame's height.
  const QRect half = InkOf(dvd(Vtt("line:50%", "Harbour")));
  EXPECT_GE(half.top(), 288 - 3);
  EXPECT_LE(half.top(), 288 + 10);
  const QRect centred = InkOf(dvd(Vtt("line:50%,center", "Harbour")));
  EXPECT_NEAR(centred.center().y(), 288, 6);

  // position:10% align:start: the text starts at 72 pixels, on the bottom line.
  const QRect left = InkOf(dvd(Vtt("position:10% align:start", "Harbour")));
  EXPECT_NEAR(left.left(), 72, 4);
  EXPECT_EQ(left.bottom(), InkOf(srt).bottom());

  // size:50%: the line is wrapped in a box of 360 pixels, centred.
  const PacketSummary boxed = dvd(Vtt("size:50%", kLong));
  EXPECT_GE(InkLines(boxed), 2);
  EXPECT_GE(InkOf(boxed).left(), 180 - 4);
  EXPECT_LE(InkOf(boxed).right(), 540 + 4);
  // The same line without a box is drawn on one line.
  EXPECT_EQ(InkLines(dvd(Vtt("", kLong))), 1);
}

// The default style on 1080 lines: 56 rows of margin (30 at 576 lines),
// a font of 55 rows and an outline of about 6 pixels.
TEST_F(cliVttPlacement, BluRayCuesStandWhereTheirSettingsPutThem) {
  const QRect top = hd(Vtt("line:0", "Harbour"));
  ASSERT_FALSE(top.isEmpty());
  EXPECT_GE(top.top(), 56 - 6);
  EXPECT_LE(top.top(), 56 + 20);
  EXPECT_NEAR(top.center().x(), 960, 3);

  const QRect srt = hd(Srt("Harbour"), "cue.srt");
  const QRect bottom = hd(Vtt("line:-1", "Harbour"));
  EXPECT_NEAR(bottom.bottom(), srt.bottom(), 1);
  EXPECT_LE(bottom.bottom(), 1080 - 56 + 6);
  EXPECT_GE(bottom.bottom(), 1080 - 56 - 20);

  const QRect half = hd(Vtt("line:50%", "Harbour"));
  EXPECT_GE(half.top(), 540 - 6);
  EXPECT_LE(half.top(), 540 + 20);

  const QRect left = hd(Vtt("position:10% align:start", "Harbour"));
  EXPECT_NEAR(left.left(), 192, 8);
  EXPECT_NEAR(left.bottom(), srt.bottom(), 1);

  const QRect wide = hd(Vtt("", kLongHd));
  const QRect boxed = hd(Vtt("size:50%", kLongHd));
  EXPECT_GT(wide.width(), 960);
  EXPECT_GE(boxed.left(), 480 - 8);
  EXPECT_LE(boxed.right(), 1440 + 8);
  EXPECT_GT(boxed.height(), wide.height() * 3 / 2);
}

// A file of several cues converts on both targets in one batch with others,
// and what it drops is said.
TEST_F(cliVttPlacement, ABatchTakesWebVttFilesBesideOthersAndTellsWhatWasDropped) {
  WriteBytes(dir.filePath("a.vtt"),
             "WEBVTT\n\nNOTE made by hand\n\n00:01.000 --> 00:02.000 vertical:lr\n"
             "<v Ann>One <00:01.500>two</v>\n\n00:03.000 --> 00:04.000\nThree &amp; four\n");
  WriteBytes(dir.filePath("b.srt"), Srt("Harbour"));
  const auto outcome = RunConverter({dir.filePath("a.vtt"), dir.filePath("b.srt")});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(ReadPackets(ReadBytes(dir.filePath("a.sup"))).size(), 2u);
  EXPECT_EQ(ReadPackets(ReadBytes(dir.filePath("b.sup"))).size(), 1u);
  for (const char* said :
       {"Skipped 1 NOTE block of the WebVTT file", "1 timestamp inside cues (karaoke) was dropped",
        "1 cue asks for vertical text and is drawn horizontally", "<v Ann>"}) {
    EXPECT_NE(outcome.err.find(said), std::string::npos) << said << " in " << outcome.err;
  }
}

}  // namespace
}  // namespace tesmora
