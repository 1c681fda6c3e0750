// Whose styles draw an ASS or SSA file on Blu-ray: its own, with libass
// reading the file as it is, or the window's, with the file read into cues
// like any other.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "tests/cli/CliHarness.h"

namespace tesmora {
namespace {

using testing::CliOutcome;
using testing::ReadBytes;
using testing::RunConverter;
using testing::WriteBytes;

// A style of its own that differs from the window's in every respect that
// shows: font, size, colour, place.
const QByteArray kScript =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n\n"
    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
    "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, "
    "Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Sign,DejaVu Serif,90,&H0000FFFF,&H000000FF,&H00400000,&H00000000,-1,0,0,0,100,100,"
    "0,0,1,4,0,8,10,10,40,1\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:01.00,0:00:02.50,Sign,,0,0,0,,Harbour lights\n"
    "Dialogue: 0,0:00:04.00,0:00:05.00,Sign,,0,0,0,,The ferry\n";

// The same cues as an SRT file, which only the window's style can draw.
const QByteArray kSameCues =
    "1\n00:00:01,000 --> 00:00:02,500\nHarbour lights\n\n"
    "2\n00:00:04,000 --> 00:00:05,000\nThe ferry\n\n";

class BluRayStylesRun : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString write(const QString& name, const QByteArray& bytes) const {
    const QString path = QDir(dir_.path()).filePath(name);
    WriteBytes(path, bytes);
    return path;
  }

  // The stream of one run, taken away so that the next run writes anew.
  QByteArray convert(const QString& subtitle, QStringList arguments) const {
    const CliOutcome outcome = RunConverter(arguments << "--quiet"
                                                      << "--format"
                                                      << "pgs" << subtitle);
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    const QString stream = QDir(dir_.path()).filePath("Generated.sup");
    const QByteArray bytes = ReadBytes(stream);
    QFile::remove(stream);
    return bytes;
  }

  QTemporaryDir dir_;
};

// With --styles window the script is no longer drawn as it is: its cues
// are drawn in the window's style, byte for byte as the same cues of an SRT
// file; with its own styles the picture is another.
TEST_F(BluRayStylesRun, WindowStylesDrawAScriptAsTheSameCuesOfAnSrtFile) {
  const QString script = write("film.ass", kScript);
  const QByteArray inWindowStyle = convert(script, {"--styles", "window"});
  const QByteArray asItIs = convert(script, {"--styles", "file"});
  const QByteArray srt = convert(write("film.srt", kSameCues), {});
  ASSERT_FALSE(srt.isEmpty());
  EXPECT_TRUE(inWindowStyle == srt) << "the script in the window's style differs from the SRT";
  EXPECT_FALSE(asItIs == srt) << "the script's own style was not drawn";
  EXPECT_TRUE(convert(script, {}) == asItIs) << "the script's own styles are not the default";
}

// A forced style names a style of the script, which the window's style
// replaces: refused, naming both options, and nothing is written.
TEST_F(BluRayStylesRun, AForcedStyleIsRefusedWithTheWindowsStyles) {
  const QString script = write("film.ass", kScript);
  const CliOutcome outcome =
      RunConverter({"--format", "pgs", "--styles", "window", "--forced-style", "Sign", script});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_EQ(outcome.err, "tesmora-cli: " + script.toStdString() +
                             ": --forced-style picks the subtitles of one style of the file as "
                             "its own styles draw them; it cannot be used with --styles window.\n");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"film.ass"});
}

}  // namespace
}  // namespace tesmora
