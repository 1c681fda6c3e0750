// The window's drawing of subtitles and its line-fit check.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/TForm1.h"
#include "sup/EncodeFields.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QString kCr(QChar(u'\r'));
const QByteArray kTooWide(120, 'W');

// Draws one cue of `lines` on the window's key frame.
void RenderKeyFrame(TForm1& form, std::vector<std::string> lines) {
  const std::vector<CueToDraw> cues{{std::move(lines)}};
  form.RenderCueFrame(cues, form.CurrentStyle());
}

class RenderingTest : public ::testing::Test {
 protected:
  RenderingTest() {
    // The generic palette: antialias 85, outline 0, text 255.
    form.i_dont_have_ifo->setChecked(true);
  }

  void load(std::initializer_list<std::pair<QByteArray, QByteArray>> entries) {
    for (const auto& [line1, line2] : entries) {
      form.LoadedCues.push_back({0, 1000, {line1.toStdString(), line2.toStdString()}});
      form.ListBox1->addItem(QString::fromLatin1(line1));
    }
  }

  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(RenderingTest, PreviewDrawsOnTheBackgroundWhenTheLinesFit) {
  form.RenderPreview("Lorvanto.", "Vessa Morane", form.CurrentStyle());
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_TRUE(form.AllLinesFit);
  const QImage& picture = form.preview->picture();
  EXPECT_EQ(picture.size(), QSize(720, 576));
  std::set<QRgb> textColours;
  for (int y = 450; y < 576; ++y) {
    for (int x = 0; x < 720; ++x) {
      const QRgb pixel = picture.pixel(x, y);
      if (pixel == qRgb(255, 255, 255) || pixel == qRgb(85, 85, 85)) {
        textColours.insert(pixel);
      }
    }
  }
  EXPECT_EQ(textColours.size(), 2u);
}

TEST_F(RenderingTest, PreviewRefusesAnOverlongLineAndShowsTheBareBackground) {
  form.AllLinesFit = true;
  form.RenderPreview(kTooWide, "short", form.CurrentStyle());
  EXPECT_EQ(platform.messages, QStringList{"The string " + kCr + QString::fromLatin1(kTooWide) +
                                           kCr + "short" + kCr + "is too long."});
  EXPECT_FALSE(form.AllLinesFit);
  form.LoadPreviewBackground();
  const QImage background = form.preview->picture();
  form.RenderPreview("short", kTooWide, form.CurrentStyle());
  EXPECT_EQ(form.preview->picture(), background);
}

TEST_F(RenderingTest, KeyFrameHoldsOnlyBlueAndRoleColoursAndItsBand) {
  form.Ntsc->setEnabled(true);
  form.Ntsc->click();
  form.ComboBox8->setCurrentIndex(form.ComboBox8->findText("Bold+It+Und"));
  for (int round = 0; round < 2; ++round) {
    RenderKeyFrame(form, round == 0 ? std::vector<std::string>{"A first, rather long subtitle line",
                                                               "and its second line"}
                                    : std::vector<std::string>{"Short"});
    const FrameBitmap& frame = form.KeyFrame();
    ASSERT_EQ(frame.height(), 480);
    std::set<QRgb> colours;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 720; ++x) {
        const Rgb pixel = frame.pixel(x, y);
        colours.insert(qRgb(pixel.r, pixel.g, pixel.b));
      }
    }
    EXPECT_EQ(colours, (std::set<QRgb>{qRgb(0, 0, 255), qRgb(0, 0, 0), qRgb(85, 85, 85),
                                       qRgb(255, 255, 255)}));
    // The preview shows the key frame.
    EXPECT_EQ(form.preview->picture().pixel(0, 0), qRgb(0, 0, 255));
    const EncodeArea area = form.LastEncodeArea();
    EXPECT_EQ(area.firstLine % 2, 0);
    // Every drawn row of Line1 and Line2 lies in the band; rows above it hold
    // at most Line1's outline.
    const PixelData data =
        EncodeFields(frame, *CutToFrame(area, 480), {{255, 255, 255}, {0, 0, 0}, {85, 85, 85}});
    EXPECT_GT(data.bytes.size(), 2u + static_cast<std::size_t>(area.lineCount) * 8);
  }
  // The second, shorter subtitle left nothing of the first behind: the frame
  // equals that of a window that drew only the second.
  testing::FakePlatform otherPlatform;
  TForm1 other(otherPlatform);
  other.i_dont_have_ifo->setChecked(true);
  for (QComboBox* box : {other.ComboBox1, other.ComboBox2, other.ComboBox3, other.ComboBox8}) {
    box->setCurrentIndex(form.findChild<QComboBox*>(box->objectName())->currentIndex());
  }
  other.Ntsc->setEnabled(true);
  other.Ntsc->click();
  RenderKeyFrame(other, {"Short"});
  for (int y = 0; y < 480; ++y) {
    ASSERT_EQ(std::memcmp(form.KeyFrame().row(y), other.KeyFrame().row(y), FrameBitmap::kStride), 0)
        << "row " << y;
  }
}

TEST_F(RenderingTest, LineCheckReportsTheFirstOverlongEntryOnly) {
  form.PaletteReady = true;
  load({{"fits", ""}, {kTooWide, ""}, {"fits too", kTooWide}});
  form.CheckAllSubtitleLines();
  EXPECT_EQ(platform.messages,
            QStringList{"The string " + kCr + QString::fromLatin1(kTooWide) + kCr + kCr +
                        "is too long. Please correct the srt and reload it. You can just use a "
                        "smaler font size. Or tick \"Wrap long lines\"."});
  EXPECT_FALSE(form.AllLinesFit);
  EXPECT_FALSE(form.SubtitlesLoaded);
  EXPECT_EQ(form.ListBox1->count(), 0);
  EXPECT_EQ(form.LoadedCues.size(), 3u);  // the entries stay as they are
}

TEST_F(RenderingTest, LineCheckPassingLoadsTheSubtitles) {
  form.PaletteReady = true;
  form.OpenDialog2.fileName = QStringLiteral("/films/harbour.srt");
  load({{"one", "two"}, {"three", ""}});
  form.CheckAllSubtitleLines();
  EXPECT_EQ(platform.messages, QStringList{"Subtitle Style Modified/Loaded Successfully"});
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_TRUE(form.AllLinesFit);
  EXPECT_EQ(form.Edit2->text(), QStringLiteral("/films/harbour.srt"));
}

TEST_F(RenderingTest, LineCheckAfterALoadKeepsTheListAndTheLoadedState) {
  form.PaletteReady = true;
  form.SubtitlesLoaded = true;
  load({{"short", kTooWide}});
  form.CheckAllSubtitleLines();
  EXPECT_EQ(platform.messages,
            QStringList{"The string " + kCr + "short" + kCr + QString::fromLatin1(kTooWide) + kCr +
                        "is too long. Please use a smaler font size. Or tick \"Wrap long "
                        "lines\"."});
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_EQ(form.ListBox1->count(), 1);
}

// A style change re-runs the check, which also places each cue: a larger
// size that pushes a cue's lines past the frame is reported once, for the
// first such cue, and the list stays.
TEST_F(RenderingTest, LineCheckAfterALoadReportsACueTooTallForTheFrame) {
  form.PaletteReady = true;
  form.SubtitlesLoaded = true;
  load({{"one", "two"}});
  form.LoadedCues.push_back({0, 1000, {"A", "B", "C", "D", "E", "F", "G", "H"}});
  form.LoadedCues.push_back({0, 1000, {"A", "B", "C", "D", "E", "F", "G", "H", "I"}});
  form.CheckAllSubtitleLines();
  EXPECT_EQ(platform.messages, QStringList{"Subtitle Style Modified/Loaded Successfully"});

  platform.messages.clear();
  form.offset->setValue(300);
  form.CheckAllSubtitleLines();
  EXPECT_EQ(platform.messages,
            QStringList{"Cue 2 has 8 lines, more than the frame holds in this font size and "
                        "offset: its lines would be cut off at the frame's edge. Please use a "
                        "smaller font size or a lower offset."});
  EXPECT_FALSE(form.AllLinesFit);
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_EQ(form.ListBox1->count(), 1);
}

TEST_F(RenderingTest, LineCheckMeasuresNothingWithoutAPaletteOrAfterAFailedPreview) {
  load({{kTooWide, ""}});
  form.PaletteReady = false;
  form.CheckAllSubtitleLines();  // no palette: nothing is measured, the empty check passes
  EXPECT_EQ(platform.messages, QStringList{"Subtitle Style Modified/Loaded Successfully"});

  platform.messages.clear();
  form.PaletteReady = true;
  form.AllLinesFit = false;
  form.SubtitlesLoaded = false;
  form.CheckAllSubtitleLines();
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_FALSE(form.SubtitlesLoaded);

  form.AllLinesFit = true;
  form.FrameRateMissing = true;
  form.LoadedCues.clear();
  form.CheckAllSubtitleLines();
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_FALSE(form.SubtitlesLoaded);
}

TEST(PreparedCue, FitsBelow680Pixels) {
  PreparedCue cue;
  cue.measures = {{679, 30}, {679, 30}};
  EXPECT_TRUE(cue.fitsWidth());
  cue.measures.push_back({680, 30});
  EXPECT_FALSE(cue.fitsWidth());
}

}  // namespace
}  // namespace tesmora
