#include "about/TForm2.h"

#include <gtest/gtest.h>

#include <QTest>

#include "app/TForm1.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

TEST(AboutWindow, ShowsItsTextsAndControlsWhereTheyBelong) {
  testing::FakePlatform platform;
  TForm2 about(platform);
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
  EXPECT_EQ(about.size(), QSize(316, 463));
  EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(about.Image1->geometry(), QRect(8, 8, 81, 81));
  EXPECT_EQ(about.Image1->pixmap().size(), QSize(78, 99));
  EXPECT_EQ(about.Label1->geometry(), QRect(96, 8, 201, 81));
  EXPECT_EQ(AboutIntroduction().split(QChar(u'\r')).size(), 3);
  EXPECT_TRUE(AboutIntroduction().startsWith(
      "Hi there ! This utility converts txt subtitles in sup files in order to put them in a "
      "dvd.\rThe official site is : "));
  EXPECT_EQ(about.LabelVersion->text(), QStringLiteral("42.7"));
  EXPECT_EQ(about.LabelVersion->pos(), QPoint(176, 112));
  EXPECT_EQ(about.Label3->text(), QStringLiteral("Current version :"));
  EXPECT_TRUE(about.Label3->font().bold());
  EXPECT_EQ(about.Memo1->geometry(), QRect(5, 128, 305, 177));
  EXPECT_TRUE(about.Memo1->isReadOnly());
  const QStringList usage = about.Memo1->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(usage.size(), 12);
  EXPECT_EQ(usage[0], QStringLiteral("Usage : "));
  EXPECT_EQ(usage[1], QStringLiteral("1) Just load you Original Dvd Ifo file  ex : VTS_01_0.IFO"));
  EXPECT_EQ(usage[9], QString());
  EXPECT_EQ(usage[10],
            QStringLiteral("After generating the sup an help text will be generated in order "));
  EXPECT_EQ(usage[11], QStringLiteral("to help you authoring your dvd with the Genarated.sup'"));
  EXPECT_EQ(about.Button1->geometry(), QRect(48, 360, 201, 25));
  EXPECT_EQ(about.Button1->text(), QStringLiteral("Visit the official site tesmora.example.org"));
  EXPECT_EQ(about.ButtonCheckVersion->geometry(), QRect(48, 392, 201, 25));
  EXPECT_EQ(about.ImageDonate->geometry(), QRect(184, 423, 65, 33));
  EXPECT_EQ(about.Button1->nextInFocusChain(), about.Memo1);
  EXPECT_EQ(about.ButtonCheckVersion->cursor().shape(), Qt::PointingHandCursor);
}

TEST(AboutWindow, LinksOpenTheirPagesInTheBrowser) {
  testing::FakePlatform platform;
  TForm2 about(platform);
  about.Button1->click();
  QTest::mouseClick(about.Label5, Qt::LeftButton);
  QTest::mouseClick(about.ImageDonate, Qt::LeftButton);
  EXPECT_EQ(platform.openedUrls,
            (QStringList{kSiteAddress, kContributorAddress, kDonationAddress}));
}

TEST(AboutWindow, TheAboutButtonShowsTheOneWindow) {
  testing::FakePlatform platform;
  TForm1 form(platform);
  TForm2 about(platform);
  form.setAboutWindow(&about);
  form.ButtonAbout->click();
  EXPECT_TRUE(about.isVisible());
  form.ButtonAbout->click();
  EXPECT_TRUE(about.isVisible());
  about.close();
  EXPECT_FALSE(about.isVisible());
  form.ButtonAbout->click();
  EXPECT_TRUE(about.isVisible());
}

}  // namespace
}  // namespace tesmora
