#pragma once

#include <QString>
#include <variant>
#include <vector>

namespace tesmora {

// Style flags as bits, for switching several at once.
namespace run_style {
inline constexpr unsigned kBold = 1;
inline constexpr unsigned kItalic = 2;
inline constexpr unsigned kUnderline = 4;
inline constexpr unsigned kStrikeOut = 8;
inline constexpr unsigned kAll = kBold | kItalic | kUnderline | kStrikeOut;
}  // namespace run_style

// Turns the `off` flags off and then the `on` flags on, from here onwards.
struct StyleSwitch {
  unsigned off = 0;
  unsigned on = 0;
};

// Flags for a whole line, or for the whole cue, whichever text they stand
// before. Honoured only at the start of a line.
struct BaseStyle {
  unsigned on = 0;
  bool wholeCue = false;
};

// Places the cue on the frame: 1..9 as on a numeric keypad.
struct Placement {
  int numpad = 0;
  QString written;
};

// Ends the current line; the text after it starts a new one.
struct LineBreak {};

// Text that stands for the markup, such as a non-breaking space.
struct InsertText {
  QString text;
};

// Markup that is removed without an effect, as written.
struct Unsupported {
  QString written;
};

using MarkupAction =
    std::variant<StyleSwitch, BaseStyle, Placement, LineBreak, InsertText, Unsupported>;

// A piece of markup found in a line: how many characters it takes and what
// it does, in order.
struct MarkupToken {
  qsizetype length = 0;
  std::vector<MarkupAction> actions;
};

}  // namespace tesmora
