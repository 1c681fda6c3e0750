#include "render/NameTables.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

TEST(StyleFromName, GivesTheFlagsOfEveryListItem) {
  EXPECT_EQ(StyleFromName("Normal"), FontStyle{});
  EXPECT_EQ(StyleFromName("Bold"), FontStyle{.bold = true});
  EXPECT_EQ(StyleFromName("Italic"), FontStyle{.italic = true});
  EXPECT_EQ(StyleFromName("Underline"), FontStyle{.underline = true});
  EXPECT_EQ(StyleFromName("StrikeOut"), FontStyle{.strikeOut = true});
  EXPECT_EQ(StyleFromName("Bold+Italic"), (FontStyle{.bold = true, .italic = true}));
  EXPECT_EQ(StyleFromName("Bold+Under"), (FontStyle{.bold = true, .underline = true}));
  EXPECT_EQ(StyleFromName("Bold+It+Und"),
            (FontStyle{.bold = true, .italic = true, .underline = true}));
  EXPECT_EQ(StyleFromName("Italic+Under"), (FontStyle{.italic = true, .underline = true}));
  EXPECT_EQ(StyleFromName("bold"), FontStyle{});  // names compare exactly
}

TEST(CharsetFromName, GivesTheCharacterSetCodes) {
  const std::pair<const char*, int> expected[] = {
      {"ANSI", 0},      {"ARABIC", 178},     {"BALTIC", 186},    {"CHINESEBIG5", 136},
      {"DEFAULT", 1},   {"EASTEUROPE", 238}, {"GB2312", 134},    {"GREEK", 161},
      {"HANGEUL", 129}, {"HEBREW", 177},     {"JOHAB", 130},     {"MAC", 77},
      {"OEM", 255},     {"RUSSIAN", 204},    {"SHIFTJIS", 128},  {"SYMBOL", 2},
      {"THAI", 222},    {"TURKISH", 162},    {"VIETNAMESE", 163}};
  for (const auto& [name, code] : expected) {
    EXPECT_EQ(CharsetFromName(QString::fromLatin1(name)), code) << name;
  }
}

TEST(RolePaletteIndex, ReadsTheEntryNumberOfAColourItem) {
  EXPECT_EQ(RolePaletteIndex("Color 0"), 0);
  EXPECT_EQ(RolePaletteIndex("Color 9"), 9);
  EXPECT_EQ(RolePaletteIndex("Color 15"), 15);
  EXPECT_EQ(RolePaletteIndex("Color 16"), 0);
  EXPECT_EQ(RolePaletteIndex("Colour 3"), 0);
}

}  // namespace
}  // namespace tesmora
