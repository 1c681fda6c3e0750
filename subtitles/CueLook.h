#pragma once

#include <optional>
#include <string>

namespace tesmora {

// Where a cue asks to be placed, beyond the window's style: WebVTT cue
// settings and ASS positions, alignments and margins. Every field is unset
// by default, and a cue whose placement is all unset is placed as SRT cues
// are, by the window's style and the cue's markup.
struct CuePlacement {
  // Which point of the text block is placed, 1..9 as on a keypad; 0 unset.
  int alignment = 0;
  // The point the block's `alignment` point stands on, as fractions of the
  // frame's width and height (0 left or top, 1 right or bottom).
  std::optional<double> x;
  std::optional<double> y;
  // A line position counted in text lines: 0 the top line of the frame,
  // 1 the next, -1 the bottom line, -2 the one above it (WebVTT's `line`
  // as a number). Set only where `y` is not.
  std::optional<int> lineNumber;
  // The width of the box the text is aligned and wrapped in, as a fraction
  // of the frame's width (WebVTT's `size`).
  std::optional<double> width;
  // Margins as fractions of the frame's width (left, right) and height
  // (vertical: from the bottom for bottom alignments, from the top for top
  // ones), as ASS styles give them.
  std::optional<double> marginLeft;
  std::optional<double> marginRight;
  std::optional<double> marginVertical;

  friend bool operator==(const CuePlacement&, const CuePlacement&) = default;
};

// The drawing a cue asks for, beyond the window's style: an ASS style. Unset
// fields take the window's choice.
struct CueFont {
  std::string styleName;  // the ASS style the cue uses, as written; empty for none
  std::string family;     // empty: the window's font
  // Text height as a fraction of the frame's height (an ASS font size over
  // PlayResY); unset: the window's size.
  std::optional<double> height;
  std::optional<bool> bold;
  std::optional<bool> italic;
  std::optional<bool> underline;
  std::optional<bool> strikeOut;
  // The order of cues shown together, lower drawn first (ASS Layer).
  int layer = 0;

  friend bool operator==(const CueFont&, const CueFont&) = default;
};

// A cue's placement and drawing as its file gives them.
struct CueLook {
  CuePlacement placement;
  CueFont font;

  bool empty() const { return *this == CueLook{}; }
  friend bool operator==(const CueLook&, const CueLook&) = default;
};

}  // namespace tesmora
