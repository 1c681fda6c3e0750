// The window's Blu-ray targets: the controls that apply, the preview drawn
// by libass, and the run that writes the stream.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include "app/HdPreview.h"
#include "app/TForm1.h"
#include "conversion/PgsRun.h"
#include "conversion/RunReports.h"
#include "pgs/StreamCheck.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QByteArray kSrt =
    "1\r\n00:00:01,000 --> 00:00:03,000\r\nDown below\r\n\r\n"
    "2\r\n00:00:04,000 --> 00:00:06,000\r\n{\\an8}Up here\r\n\r\n";

class BluRayTargetTest : public ::testing::Test {
 protected:
  void choose(DiscTarget target) {
    ConversionChoices choices = form.CurrentChoices();
    choices.target = target;
    form.ShowChoices(choices);
  }
  void load() {
    platform.chosenFiles = {testing::WriteFile(QDir(folder.path()).filePath("film.srt"), kSrt)};
    form.Button2->click();
  }
  QString output() const { return QDir(folder.path()).filePath("Generated.sup"); }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(BluRayTargetTest, DisablesTheDvdOnlyControlsAndTheDvdGivesThemBack) {
  form.i_dont_have_ifo->click();  // the DVD's standard now applies, the IFO button not
  const std::vector<QWidget*> dvdOnly{
      form.Button1,   form.i_dont_have_ifo, form.Pal,       form.Ntsc,      form.ComboBox1,
      form.ComboBox2, form.ComboBox3,       form.ComboBox4, form.offset_or, form.CheckBoxVobSub};
  const std::vector<QWidget*> shared{
      form.Button2,        form.Button3,        form.ComboBox5,
      form.ComboBox6,      form.ComboBox7,      form.ComboBox8,
      form.ComboBoxAlign,  form.offset,         form.ComboBoxOutlineWidth,
      form.CheckBoxForced, form.EditOutputName, form.ComboBoxTarget};
  for (const DiscTarget target : {DiscTarget::BluRay1080, DiscTarget::BluRay720}) {
    choose(target);
    for (QWidget* control : dvdOnly) {
      EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
      EXPECT_TRUE(control->isVisibleTo(&form)) << control->objectName().toStdString();
    }
    for (QWidget* control : shared) {
      EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
  }
  // A dropped IFO is refused rather than loaded behind the disabled button.
  form.LoadFile({DroppedKind::IfoPalette, QStringLiteral("/nowhere/VTS_01_0.IFO")});
  EXPECT_EQ(platform.messages.value(platform.messages.size() - 1),
            QStringLiteral(
                "An Ifo palette is for the DVD target only; choose DVD as the Target to load it."));
  EXPECT_TRUE(platform.dialogs.empty());
  choose(DiscTarget::Dvd);
  EXPECT_FALSE(form.Button1->isEnabled());
  EXPECT_TRUE(form.Pal->isEnabled());
  EXPECT_TRUE(form.Ntsc->isEnabled());
  for (QWidget* control :
       std::vector<QWidget*>{form.i_dont_have_ifo, form.ComboBox1, form.offset_or}) {
    EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
  }
}

// Where the preview differs from its empty frame: the box of those pixels,
// and how many levels of grey they take.
struct Drawn {
  QRect box;
  int levels = 0;
};

Drawn DrawnPart(const QImage& picture, const QImage& empty) {
  Drawn drawn;
  QSet<int> levels;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.pixel(x, y) != empty.pixel(x, y)) {
        drawn.box |= QRect(x, y, 1, 1);
        levels << qGray(picture.pixel(x, y));
      }
    }
  }
  drawn.levels = static_cast<int>(levels.size());
  return drawn;
}

// The box of libass's own picture of the cue.
QRect LibassBox(const std::vector<std::string>& lines, const HdStyle& style, int height) {
  const std::optional<PgsVideo> video = PgsVideoOf(height, std::nullopt);
  QRect box;
  for (const RgbaRegion& region :
       HdCueRegions(lines, CuePlacement{}, TextSource{}, 2000, style, video->target)) {
    box |= QRect(region.x, region.y, region.width, region.height);
  }
  return box;
}

TEST_F(BluRayTargetTest, LoadsWithoutAPaletteAndPreviewsTheCueWhereLibassPutsIt) {
  choose(DiscTarget::BluRay720);
  load();
  EXPECT_EQ(platform.messages, QStringList{"Subtitle Style Modified/Loaded Successfully"});
  ASSERT_EQ(form.LoadedCues.size(), 2U);
  const HdStyle style = BluRayStyleOf(form.CurrentStyle(), form.CurrentOutlineWidth());
  form.LoadPreviewBackground();  // the DVD frame's picture, nothing drawn on it
  const QImage empty = HdPreviewPicture(form.preview->picture(), QSize(1280, 720), {});
  for (const int row : {0, 1}) {
    form.ListBox1->setCurrentRow(row);
    const QImage picture = form.preview->picture();
    ASSERT_EQ(picture.size(), QSize(1280, 720));
    EXPECT_EQ(form.preview->frameSize(), QSize(720, 405));
    const Drawn drawn = DrawnPart(picture, empty);
    // Antialiased: far more than the DVD's text, outline and antialias colours.
    EXPECT_GT(drawn.levels, 16) << row;
    const QRect libass =
        LibassBox(form.LoadedCues[static_cast<std::size_t>(row)].lines.toVector(), style, 720);
    EXPECT_TRUE(libass.contains(drawn.box)) << row;
    EXPECT_GT(drawn.box.width() * 2, libass.width()) << row;
    // The first at the bottom, the {\an8} one at the top.
    EXPECT_EQ(drawn.box.center().y() > 360, row == 0) << row;
  }
}

TEST_F(BluRayTargetTest, GenerateWritesACheckedStreamForTheChosenVideo) {
  choose(DiscTarget::BluRay720);
  load();
  platform.messages.clear();
  int progressSteps = 0;
  platform.onPendingEvents = [&] {
    ++progressSteps;
    EXPECT_EQ(form.Button3->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(form.ComboBoxTarget->isEnabled());
  };
  form.Button3->click();
  EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
  EXPECT_EQ(progressSteps, 2);
  const QByteArray stream = testing::ReadFile(output());
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.constData());
  const pgs::CheckReport report =
      pgs::CheckStream(std::span(bytes, static_cast<std::size_t>(stream.size())));
  EXPECT_TRUE(report.breaches.empty());
  EXPECT_EQ(report.sets, 4U);  // each cue shown and cleared
  // The first segment is a composition of a 1280 x 720 video.
  ASSERT_GT(stream.size(), 17);
  EXPECT_EQ(stream.mid(0, 2), QByteArray("PG"));
  EXPECT_EQ(static_cast<unsigned char>(stream[10]), 0x16U);
  EXPECT_EQ(stream.mid(13, 4), QByteArray("\x05\x00\x02\xD0", 4));
  EXPECT_EQ(platform.messages,
            QStringList{QString::fromStdString(PgsClosingMessage(
                {QDir(folder.path()).filePath("Generated.sup").toStdString()}, {}))});
  EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath("Tesmora_Help_File.txt")));
  EXPECT_TRUE(form.ComboBoxTarget->isEnabled());
  EXPECT_FALSE(form.ComboBox1->isEnabled());
}

TEST_F(BluRayTargetTest, CancelStopsTheRunAndKeepsTheEarlierStream) {
  choose(DiscTarget::BluRay1080);
  load();
  testing::WriteFile(output(), "earlier");
  platform.messages.clear();
  platform.onPendingEvents = [this] { form.Button3->click(); };  // reads "Cancel" now
  form.Button3->click();
  EXPECT_EQ(platform.messages, QStringList{QString::fromLatin1(kRunStoppedMessage)});
  EXPECT_EQ(testing::ReadFile(output()), QByteArray("earlier"));
  QStringList files = QDir(folder.path()).entryList(QDir::Files);
  files.sort();
  EXPECT_EQ(files, (QStringList{"Generated.sup", "film.srt"}));
  EXPECT_EQ(form.Button3->text(), QStringLiteral("&Generate Sup"));
}

}  // namespace
}  // namespace tesmora
