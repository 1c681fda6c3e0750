// Whole runs of the converter on ASS and SSA files for the DVD: each cue in
// its style's font, or all in the window's style with --styles window.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <array>

#include "tests/cli/CliHarness.h"
#include "tests/cli/SupStream.h"

namespace tesmora {
namespace {

using testing::CliOutcome;
using testing::PacketSummary;
using testing::ReadPackets;
using testing::RunConverter;

using Picture = std::vector<std::vector<std::uint8_t>>;

// A subpicture's pixels as the frame shows them (the two fields
// interleaved), cut to the rows and columns that hold anything: the drawing
// of the cue wherever it is placed.
Picture Drawing(const PacketSummary& packet) {
  const std::size_t top = (packet.rows.size() + 1) / 2;
  Picture frame;
  for (std::size_t y = 0; y < packet.rows.size(); ++y) {
    frame.push_back(packet.rows[y % 2 == 0 ? y / 2 : top + y / 2]);
  }
  std::size_t first = frame.size();
  std::size_t last = 0;
  std::size_t left = 720;
  std::size_t right = 0;
  for (std::size_t y = 0; y < frame.size(); ++y) {
    for (std::size_t x = 0; x < frame[y].size(); ++x) {
      if (frame[y][x] != 0) {
        first = std::min(first, y);
        last = std::max(last, y);
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  Picture cut;
  for (std::size_t y = first; y <= last && y < frame.size(); ++y) {
    cut.emplace_back(frame[y].begin() + static_cast<std::ptrdiff_t>(left),
                     frame[y].begin() + static_cast<std::ptrdiff_t>(right + 1));
  }
  return cut;
}

// At PlayResY 576 a font size of 34 is the cell of DejaVu Sans at 22 points
// (an em of 29 pixels) on a PAL frame.
const QByteArray kStyledAss =
    "[Script Info]\r\nScriptType: v4.00+\r\nPlayResX: 720\r\nPlayResY: 576\r\n\r\n"
    "[V4+ Styles]\r\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\r\n"
    "Style: Slanted,DejaVu Sans,34,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,-1,0,0,100,"
    "100,0,0,1,2,0,2,10,10,10,1\r\n"
    "Style: Heavy,DejaVu Sans,34,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,-1,0,0,0,100,"
    "100,0,0,1,2,0,2,10,10,10,1\r\n\r\n"
    "[Events]\r\n"
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n"
    "Dialogue: 0,0:00:01.00,0:00:02.00,Slanted,,0,0,0,,Harbour lights\r\n"
    "Dialogue: 0,0:00:03.00,0:00:04.00,Heavy,,0,0,0,,Harbour lights\r\n";

class cliAssRun : public testing::ConvertingFolderTest {
 protected:
  // The drawing of a one-cue SRT file in the window's style `style`.
  Picture reference(const QByteArray& text, const QString& style) {
    const auto packets =
        ReadPackets(convert("one.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\n" + text + "\r\n",
                            {"--font", "DejaVu Sans", "--size", "22", "--style", style}));
    EXPECT_EQ(packets.size(), 1u);
    return packets.empty() ? Picture{} : Drawing(packets[0]);
  }
};

TEST_F(cliAssRun, EachCueIsDrawnInItsStylesFontAsTheWindowDrawsThatFont) {
  // The window's own font and flags are not those of the file.
  const auto packets = ReadPackets(convert("film.ass", kStyledAss, {"--font", "DejaVu Serif"}));
  ASSERT_EQ(packets.size(), 2u);
  const Picture italic = reference("Harbour lights", "Italic");
  const Picture bold = reference("Harbour lights", "Bold");
  EXPECT_NE(italic, bold);
  EXPECT_EQ(Drawing(packets[0]), italic);
  EXPECT_EQ(Drawing(packets[1]), bold);

  // --styles window: both as the window's plain Serif.
  const auto plain = ReadPackets(
      convert("film.ass", kStyledAss, {"--font", "DejaVu Serif", "--styles", "window"}));
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ(Drawing(plain[0]), Drawing(plain[1]));
  EXPECT_NE(Drawing(plain[0]), italic);
}

TEST_F(cliAssRun, WindowStylesGiveTheStreamOfTheSameCuesAsSrt) {
  const QByteArray ass =
      "[Script Info]\nPlayResY: 288\n\n[V4+ Styles]\n"
      "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
      "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
      "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
      "Style: Default,Arial,40,&H0000FFFF,&H000000FF,&H00000000,&H00000000,-1,0,0,0,100,"
      "100,0,0,1,2,0,8,10,10,10,1\n\n"
      "[Events]\n"
      "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
      "Comment: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,Not shown\n"
      "Dialogue: 0,0:00:01.00,0:00:03.50,Default,,0,0,0,,Where are we going?\\NTo the lake.\n"
      "Dialogue: 0,0:00:03.00,0:00:05.00,Default,,0,0,0,,{\\i1}Overlapping{\\i0} cue\n"
      "Dialogue: 0,0:01:00.25,0:01:02.00,Default,,0,0,0,,{\\an8}Up here\n";
  const QByteArray srt =
      "1\n00:00:01,000 --> 00:00:03,500\nWhere are we going?\nTo the lake.\n\n"
      "2\n00:00:03,000 --> 00:00:05,000\n{\\i1}Overlapping{\\i0} cue\n\n"
      "3\n00:01:00,250 --> 00:01:02,000\n{\\an8}Up here\n";
  const QByteArray fromSrt = convert("film.srt", srt);
  const QByteArray fromAss = convert("film.ass", ass, {"--styles", "window"});
  EXPECT_FALSE(fromSrt.isEmpty());
  EXPECT_EQ(fromAss, fromSrt);
  EXPECT_NE(last.err.find("A Comment line was skipped (line 10)."), std::string::npos) << last.err;
}

// The rows and columns of a subpicture's ink on the frame: first row, last
// row, first column, last column.
std::array<int, 4> InkBox(const PacketSummary& packet) {
  const std::size_t top = (packet.rows.size() + 1) / 2;
  std::array<int, 4> box{1 << 20, -1, 1 << 20, -1};
  for (std::size_t y = 0; y < packet.rows.size(); ++y) {
    const auto& row = packet.rows[y % 2 == 0 ? y / 2 : top + y / 2];
    for (std::size_t x = 0; x < row.size(); ++x) {
      if (row[x] != 0) {
        const int frameRow = packet.firstRow + static_cast<int>(y);
        box = {std::min(box[0], frameRow), std::max(box[1], frameRow),
               std::min(box[2], static_cast<int>(x)), std::max(box[3], static_cast<int>(x))};
      }
    }
  }
  return box;
}

// Placement from the file's \pos and \an: enabled once the DVD layout
// places cues by their look.
TEST_F(cliAssRun, ASignStandsAtItsPositionAndAnAn8CueAtTheTop) {
  const QByteArray ass =
      "[Script Info]\nPlayResX: 720\nPlayResY: 576\n\n[V4+ Styles]\n"
      "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
      "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
      "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
      "Style: Default,DejaVu Sans,34,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,"
      "100,0,0,1,2,0,2,10,10,20,1\n\n"
      "[Events]\n"
      "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
      "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\an5\\pos(200,300)}SIGN\n"
      "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,{\\an8}On top\n";
  const auto packets = ReadPackets(convert("film.ass", ass));
  ASSERT_EQ(packets.size(), 2u);
  const std::array<int, 4> sign = InkBox(packets[0]);
  EXPECT_NEAR((sign[0] + sign[1]) / 2.0, 300, 6);
  EXPECT_NEAR((sign[2] + sign[3]) / 2.0, 200, 6);
  const std::array<int, 4> top = InkBox(packets[1]);
  EXPECT_LT(top[0], 80);
  EXPECT_NEAR((top[2] + top[3]) / 2.0, 360, 6);
}

// A cue whose own style makes a line too wide for the frame is refused as
// an SRT cue too wide is, though the window's smaller font would hold it;
// --styles window draws it.
TEST_F(cliAssRun, ACueTooWideInItsOwnFontIsRefused) {
  QByteArray ass = kStyledAss;
  ass.replace("Style: Heavy,DejaVu Sans,34,", "Style: Heavy,DejaVu Sans,102,");
  ass.replace(",Heavy,,0,0,0,,Harbour lights", ",Heavy,,0,0,0,,Harbour lights at night");
  const QString path = write("film.ass", ass);
  const CliOutcome refused = RunConverter({"--output-dir", dir.path(), path});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err,
            "The string \nHarbour lights at night\n\nis too long. Please correct the srt "
            "and reload it. You can just use a smaler font size. Or break long lines with "
            "--wrap.\n")
      << refused.err;
  EXPECT_FALSE(QFile::exists(dir.filePath("Generated.sup")));
  const CliOutcome window = RunConverter({"--output-dir", dir.path(), "--styles", "window", path});
  EXPECT_EQ(window.code, 0) << window.err;
}

TEST_F(cliAssRun, AWrongStylesChoiceIsAUsageError) {
  const CliOutcome outcome = RunConverter({"--styles", "both", write("film.ass", kStyledAss)});
  EXPECT_EQ(outcome.code, 2);
  EXPECT_NE(outcome.err.find("--styles must be file or window"), std::string::npos) << outcome.err;
}

}  // namespace
}  // namespace tesmora
