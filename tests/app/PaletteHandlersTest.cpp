// Loading an IFO palette, the generic palette by choice, and the role boxes.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/TForm1.h"
#include "tests/palette/IfoBuilder.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QString kAttention =
    "ATTENTION :\r"
    "Your loaded ifo has not a polycromatic color palette.\r"
    "Probably this ifo does not contain any subtitle and you are tryng to add the first one. \r"
    "Tesmora will create an generic polycromatic color palette in order to generate a correct "
    "colored sup file.\r"
    "After the generation of the sup file , Tesmora will tell you what to do using Ifoedit.\r"
    "For now just load your Srt and press Generate sup.";

class PaletteHandlersTest : public ::testing::Test {
 protected:
  QString writeIfo(const testing::IfoBuilder& ifo, const QString& name = "VTS_01_0.IFO") {
    return writeBytes(ifo.bytes(), name);
  }
  QString writeBytes(const std::vector<std::uint8_t>& bytes, const QString& name) {
    const QString path = folder.filePath(name);
    testing::IfoBuilder::Write(path.toStdString(), bytes);
    return path;
  }
  void load(const QString& path) {
    platform.chosenFiles = {path};
    form.Button1->click();
  }
  static testing::IfoBuilder Polychromatic() {
    testing::IfoBuilder ifo;
    for (std::size_t n = 0; n < 16; ++n) {
      ifo.entries[n] = 0x00508040;  // not grey
    }
    ifo.entries[0] = 0x00108080;
    ifo.entries[1] = 0x00808080;
    ifo.entries[2] = 0x00EB8080;
    ifo.entries[5] = 0x01EB8080;
    ifo.attributeByte = 0x40;  // NTSC
    return ifo;
  }
  QStringList roles() const {
    return {form.ComboBox1->currentText(), form.ComboBox2->currentText(),
            form.ComboBox3->currentText(), form.ComboBox4->currentText()};
  }
  // What a refused load must leave alone.
  struct Snapshot {
    QStringList roles;
    QStringList hints;
    bool pal, palEnabled, paletteReady, monochrome, noIfo;
    QString edit1;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
  };
  Snapshot snapshot() const {
    QStringList hints;
    for (int n = 0; n < 16 && !form.Swatches().empty(); ++n) {
      hints << form.Swatches().swatch(n)->toolTip();
    }
    return {roles(),
            hints,
            form.Pal->isChecked(),
            form.Pal->isEnabled(),
            form.PaletteReady,
            form.MonochromeIfo,
            form.NoIfoChosen,
            form.Edit1->text()};
  }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(PaletteHandlersTest, APolychromaticIfoGivesItsSwatchesRolesAndStandard) {
  const QString path = writeIfo(Polychromatic());
  load(path);
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_TRUE(platform.informations.isEmpty());
  EXPECT_EQ(platform.dialogs.at(0).filter, QStringLiteral("ifo|*.ifo"));
  EXPECT_EQ(form.Edit1->text(), path);
  ASSERT_FALSE(form.Swatches().empty());
  EXPECT_EQ(form.Swatches().swatch(3)->geometry(), QRect(123, 66, 18, 18));
  EXPECT_EQ(form.Swatches().numberLabel(15)->geometry(), QRect(365, 53, 18, 13));
  EXPECT_EQ(form.Swatches().numberLabel(15)->text(), QStringLiteral("15"));
  EXPECT_EQ(form.Swatches().swatch(0)->toolTip(), QStringLiteral("00108080"));
  EXPECT_EQ(form.Swatches().numberLabel(5)->toolTip(), QStringLiteral("01EB8080"));
  EXPECT_EQ(form.Swatches().swatch(2)->palette().color(QPalette::Window), QColor(235, 235, 235));
  // Background and Outline dark 0, Antialias middle 1, Text light 2.
  EXPECT_EQ(roles(), (QStringList{"Color 1", "Color 0", "Color 2", "Color 0"}));
  EXPECT_TRUE(form.Ntsc->isChecked());
  EXPECT_FALSE(form.Pal->isEnabled());
  EXPECT_FALSE(form.Ntsc->isEnabled());
  EXPECT_EQ(form.preview->size(), QSize(720, 480));
  EXPECT_TRUE(form.PaletteReady);
  EXPECT_FALSE(form.MonochromeIfo);
  EXPECT_FALSE(form.NoIfoChosen);
  EXPECT_FALSE(form.i_dont_have_ifo->isChecked());
  EXPECT_TRUE(form.Button1->isEnabled());
  // The sample lines are drawn in the palette's text colour.
  const QImage& picture = form.preview->picture();
  bool textDrawn = false;
  for (int y = 380; y < 480 && !textDrawn; ++y) {
    for (int x = 0; x < 720 && !textDrawn; ++x) {
      textDrawn = picture.pixel(x, y) == qRgb(235, 235, 235);
    }
  }
  EXPECT_TRUE(textDrawn);

  // Cancelling a later dialog changes nothing.
  const Snapshot before = snapshot();
  form.Button1->click();
  EXPECT_EQ(snapshot(), before);
}

TEST_F(PaletteHandlersTest, ATitleSetWithoutSubtitlePaletteFallsBackToTheGenericOne) {
  testing::IfoBuilder ifo;  // all entries 00 00 00 00, PAL
  load(writeIfo(ifo));
  EXPECT_EQ(platform.informations, QStringList{kAttention});
  EXPECT_TRUE(form.i_dont_have_ifo->isChecked());
  EXPECT_FALSE(form.Button1->isEnabled());
  EXPECT_FALSE(form.Pal->isEnabled());
  EXPECT_FALSE(form.Ntsc->isEnabled());
  EXPECT_TRUE(form.Pal->isChecked());
  EXPECT_TRUE(form.MonochromeIfo);
  EXPECT_FALSE(form.NoIfoChosen);
  EXPECT_TRUE(form.PaletteReady);
  EXPECT_EQ(form.Swatches().swatch(2)->toolTip(), QStringLiteral("170170170"));
  EXPECT_EQ(roles(), (QStringList{"Color 1", "Color 0", "Color 3", "Color 0"}));
}

TEST_F(PaletteHandlersTest, RefusedFilesChangeNothing) {
  load(writeIfo(Polychromatic()));
  const Snapshot before = snapshot();

  testing::IfoBuilder menu = Polychromatic();
  menu.id = "DVDVIDEO-VMG";
  menu.attributeByte = 0x50;
  load(writeIfo(menu, "VIDEO_TS.IFO"));
  EXPECT_EQ(platform.messages.value(0),
            "The file VIDEO_TS.IFO is not the IFO of a title set. Please load the IFO of the title "
            "set that gets the subtitles, a VTS_xx_0.IFO file such as VTS_01_0.IFO. Nothing was "
            "loaded.");
  EXPECT_EQ(snapshot(), before);

  testing::IfoBuilder cut;
  std::vector<std::uint8_t> bytes = cut.bytes();
  bytes.resize(static_cast<std::size_t>(cut.colourTableAt()) + 10);
  load(writeBytes(bytes, "VTS_02_0.IFO"));
  EXPECT_EQ(platform.messages.value(1),
            "The file VTS_02_0.IFO is not a complete title-set IFO: it ends before the subtitle "
            "palette it points to. Nothing was loaded.");
  EXPECT_EQ(snapshot(), before);

  load(folder.filePath("VTS_03_0.IFO"));
  EXPECT_EQ(platform.errors, QStringList{"File not found."});
  Snapshot after = snapshot();
  after.edit1 = before.edit1;  // the path shows as soon as the file is chosen
  EXPECT_EQ(after, before);
}

TEST_F(PaletteHandlersTest, TheNoIfoBoxInstallsAndRemovesTheGenericPalette) {
  form.i_dont_have_ifo->click();
  EXPECT_TRUE(form.NoIfoChosen);
  EXPECT_TRUE(form.PaletteReady);
  EXPECT_FALSE(form.Button1->isEnabled());
  EXPECT_TRUE(form.Pal->isEnabled());
  EXPECT_TRUE(form.Ntsc->isEnabled());
  EXPECT_EQ(form.Swatches().swatch(1)->toolTip(), QStringLiteral("858585"));
  EXPECT_EQ(form.Swatches().swatch(7)->toolTip(), QStringLiteral("000000"));
  EXPECT_EQ(roles(), (QStringList{"Color 1", "Color 0", "Color 3", "Color 0"}));

  form.i_dont_have_ifo->click();
  EXPECT_FALSE(form.NoIfoChosen);
  EXPECT_FALSE(form.PaletteReady);
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_FALSE(form.Pal->isEnabled());
  EXPECT_TRUE(form.Swatches().empty());
  EXPECT_EQ(roles(), (QStringList{"Color 1", "Color 0", "Color 3", "Color 0"}));
}

TEST_F(PaletteHandlersTest, TheDefaultsButtonTakesTheGenericPaletteAway) {
  form.i_dont_have_ifo->click();
  form.BitBtnSetDefaultValues->click();
  EXPECT_FALSE(form.i_dont_have_ifo->isChecked());
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_FALSE(form.PaletteReady);
  EXPECT_EQ(roles(), (QStringList{"Color 0", "Color 0", "Color 0", "Color 0"}));
}

TEST_F(PaletteHandlersTest, ARoleChoiceRedrawsOnlyWithAPalette) {
  form.LoadPreviewBackground();
  const QImage bare = form.preview->picture();
  form.ComboBox3->setCurrentIndex(5);
  emit form.ComboBox3->activated(5);
  EXPECT_EQ(form.preview->picture(), bare);

  form.i_dont_have_ifo->click();
  form.ComboBox3->setCurrentIndex(2);
  emit form.ComboBox3->activated(2);
  bool textInGrey170 = false;
  const QImage& picture = form.preview->picture();
  for (int y = 400; y < 576 && !textInGrey170; ++y) {
    for (int x = 0; x < 720 && !textInGrey170; ++x) {
      textInGrey170 = picture.pixel(x, y) == qRgb(170, 170, 170);
    }
  }
  EXPECT_TRUE(textInGrey170);
}

}  // namespace
}  // namespace tesmora
