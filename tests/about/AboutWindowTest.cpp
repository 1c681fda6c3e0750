#include "about/TForm2.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTest>
#include <chrono>

#include "app/TForm1.h"
#include "tests/about/LocalHttpServer.h"
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

// Under a dark desktop palette the link button's caption is drawn in the
// palette's light text colour, not in black on the dark button.
TEST(AboutWindow, TheLinkButtonIsReadableUnderADarkPalette) {
  const QPalette desktop = QApplication::palette();
  QPalette dark(QColor(52, 52, 58), QColor(40, 40, 44));
  dark.setColor(QPalette::ButtonText, QColor(236, 236, 240));
  QApplication::setPalette(dark);
  testing::FakePlatform platform;
  TForm2 about(platform);
  const QImage shown = about.Button1->grab().toImage();
  QApplication::setPalette(desktop);
  int light = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      light += qGray(shown.pixel(x, y)) > 200 ? 1 : 0;
    }
  }
  EXPECT_GT(light, 60);
}

// The usage text wraps at the edge of its box: no line runs out of sight.
TEST(AboutWindow, WrapsTheUsageText) {
  testing::FakePlatform platform;
  TForm2 about(platform);
  about.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(about.Memo1->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(about.Memo1->toPlainText().split(QLatin1Char('\n')).size(), 12);
}

// The version check shows the busy cursor while it waits for the server.
TEST(AboutWindow, TheVersionCheckShowsTheBusyCursor) {
  testing::LocalHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n42.7");
  testing::FakePlatform platform;
  UpdateServer address;
  address.host = QStringLiteral("127.0.0.1");
  address.port = server.port();
  address.timeouts = {std::chrono::milliseconds(2000), std::chrono::milliseconds(3000)};
  TForm2 about(platform, address);
  QList<int> busyAtBox;
  platform.onBox = [&platform, &busyAtBox] { busyAtBox << platform.busyDepth; };
  about.ButtonCheckVersion->click();
  EXPECT_EQ(platform.messages, QStringList{"No updates found."});
  EXPECT_EQ(busyAtBox, QList<int>{1});
  EXPECT_EQ(platform.busySpells, 1);
  EXPECT_EQ(platform.busyDepth, 0);
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
