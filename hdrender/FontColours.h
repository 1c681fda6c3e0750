#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/Rgb.h"

namespace tesmora {

// A cue's lines with their <font> tags taken out and marked: each opening
// tag becomes the character FontOpenMark(i), whose colour is colours[i]
// (none when the tag names no colour that can be read), and each closing
// tag the character kFontCloseMark. The marks are private-use characters,
// so the markup reader keeps them as text in the runs they stand in. A line
// left with nothing but marks and blanks gives its marks to the next line
// (or to the one before, when it is the last) and is left out, as a line of
// nothing but markup is.
struct MarkedColours {
  QStringList lines;
  std::vector<std::optional<Rgb>> colours;
  bool marked = true;  // false: the lines are as given, any mark character is text
};

inline constexpr char16_t kFontCloseMark = u'\uE000';
inline constexpr char16_t kFirstFontOpenMark = u'\uE001';
// The most <font> tags of one cue that are marked; later ones are left as
// they are, to be removed by the markup reader without an effect.
inline constexpr int kMostFontTags = 0x1000;

inline char16_t FontOpenMark(int i) {
  return static_cast<char16_t>(kFirstFontOpenMark + i);
}
inline bool IsFontMark(QChar c) {
  return c.unicode() >= kFontCloseMark && c.unicode() < kFirstFontOpenMark + kMostFontTags;
}

// Marks the <font> tags of SRT-style markup (in any letter case, colours as
// #RRGGBB, #RGB or a colour name, quoted or not). Lines that already hold
// characters of the marks' range are returned unmarked, so no text is
// taken for a mark.
MarkedColours MarkFontColours(const QStringList& lines);

}  // namespace tesmora
