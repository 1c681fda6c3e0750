#include "app/Pictures.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"

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

}  // namespace
}  // namespace tesmora
