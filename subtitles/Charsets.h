#pragma once

namespace tesmora {

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

}  // namespace tesmora
