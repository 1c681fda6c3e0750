#pragma once

#include <QString>

namespace tesmora {

// Style flags of a subtitle font.
struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

// Character-set codes of the font-style list, as DVD authoring tools on
// Windows know them.
namespace charset {
inline constexpr int kAnsi = 0;
inline constexpr int kDefault = 1;
inline constexpr int kSymbol = 2;
inline constexpr int kMac = 77;
inline constexpr int kShiftJis = 128;
inline constexpr int kHangeul = 129;
inline constexpr int kJohab = 130;
inline constexpr int kGb2312 = 134;
inline constexpr int kChineseBig5 = 136;
inline constexpr int kGreek = 161;
inline constexpr int kTurkish = 162;
inline constexpr int kVietnamese = 163;
inline constexpr int kHebrew = 177;
inline constexpr int kArabic = 178;
inline constexpr int kBaltic = 186;
inline constexpr int kRussian = 204;
inline constexpr int kThai = 222;
inline constexpr int kEastEurope = 238;
inline constexpr int kOem = 255;
}  // namespace charset

// "Normal", "Bold", "Italic", "Underline", "StrikeOut", "Bold+Italic",
// "Bold+Under", "Bold+It+Und", "Italic+Under"; any other text has no flags.
FontStyle StyleFromName(const QString& name);

// The character-set code of a name of the charset list ("DEFAULT" is 1);
// an unknown name gives DEFAULT.
int CharsetFromName(const QString& name);

// The palette entry a colour-role list names: "Color 0" ... "Color 15" give
// 0 ... 15; any other text gives 0.
int RolePaletteIndex(const QString& itemText);

}  // namespace tesmora
