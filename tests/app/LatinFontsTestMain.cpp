// Test main for the suite that runs with the Latin fonts alone: fontconfig
// is pointed at a configuration of those before the application starts, so
// no font covers Indic or Khmer text, whatever else the machine has.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char* argv[]) {
  setenv("FONTCONFIG_FILE", TESMORA_LATIN_FONTS_CONF, 1);
  setenv("QT_QPA_PLATFORM", "offscreen:configfile=" TESMORA_OFFSCREEN_SCREEN, 1);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
