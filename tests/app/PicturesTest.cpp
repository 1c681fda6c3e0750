#include "app/Pictures.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QPalette>
#include <QSet>
#include <utility>

#include "app/PictureButton.h"
#include "app/TForm1.h"
#include "platform/Platform.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

TEST(Pictures, LoadsBuiltInPicturesAndReportsMissingOnes) {
  EXPECT_EQ(BuiltInPicture(QStringLiteral("PreviewPal720x576")).size(), QSize(720, 576));
  EXPECT_EQ(BuiltInPicture(QStringLiteral("PreviewNtsc720x480")).size(), QSize(720, 480));
  const QImage colours = BuiltInPicture(QStringLiteral("colors"));
  EXPECT_EQ(colours.size(), QSize(70, 70));
  EXPECT_EQ(colours.colorCount(), 4);
  EXPECT_EQ(BuiltInPicture(QStringLiteral("velmire")).size(), QSize(78, 99));
  const QImage blue = BuiltInPicture(QStringLiteral("BlueNtsc720x480"));
  EXPECT_EQ(blue.pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(blue.pixel(719, 479), qRgb(0, 0, 255));
  EXPECT_THROW(BuiltInPicture(QStringLiteral("nothing")), PlatformError);
}

// A palette of light text on dark buttons, as dark desktop themes have.
QPalette DarkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(40, 40, 44));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  dark.setColor(QPalette::Button, QColor(52, 52, 58));
  dark.setColor(QPalette::ButtonText, QColor(236, 236, 240));
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 126));
  return dark;
}

// The colours an icon is drawn in, and how many of its pixels show.
std::pair<QSet<QRgb>, int> InkOf(const QIcon& icon, QIcon::Mode mode) {
  const QImage image =
      icon.pixmap(QSize(46, 20), mode).toImage().convertToFormat(QImage::Format_ARGB32);
  QSet<QRgb> colours;
  int shown = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) > 0) {
        colours << (image.pixel(x, y) | 0xff000000u);
        ++shown;
      }
    }
  }
  return {colours, shown};
}

// The picture buttons' captions are drawn in the palette's button text
// colour, also after the palette changes to a dark one.
TEST(Pictures, PictureButtonsDrawTheirCaptionsInThePalettesTextColour) {
  testing::FakePlatform platform;
  TForm1 form(platform);
  form.setPalette(DarkPalette());
  for (QPushButton* button : {form.BitBtnSetDefaultValues, form.BitBtnChangeImage}) {
    const auto [normal, shown] = InkOf(button->icon(), QIcon::Normal);
    EXPECT_EQ(normal, QSet<QRgb>{qRgb(236, 236, 240)}) << button->objectName().toStdString();
    EXPECT_GT(shown, 40);
    EXPECT_EQ(InkOf(button->icon(), QIcon::Disabled).first, QSet<QRgb>{qRgb(120, 120, 126)});
  }
  const QImage picture = BuiltInPicture(QStringLiteral("ChangeImages"));
  const QImage inked = InkedPicture(picture, QColor(255, 0, 0));
  EXPECT_EQ(qAlpha(inked.pixel(0, 0)), qAlpha(picture.pixel(0, 0)));
}

}  // namespace
}  // namespace tesmora
