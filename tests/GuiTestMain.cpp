// Test main for suites that create widgets: the application object lives for
// the whole run, on the offscreen platform unless another one is asked for.
// The offscreen screen is made a common desktop's size (its own default of
// 800 x 600 would shrink the main window to fit it).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <string_view>

int main(int argc, char* argv[]) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || std::string_view(platform) == "offscreen") {
    setenv("QT_QPA_PLATFORM", "offscreen:configfile=" TESMORA_OFFSCREEN_SCREEN, 1);
  }
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
