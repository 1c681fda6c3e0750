#pragma once

#include <QString>

#include "core/Rgb.h"

namespace tesmora {

// The one style SRT and MicroDVD cues are drawn in on a high-definition
// frame. Sizes are those of the DVD picture: `points` is the DVD font size
// (points at 96 dpi, so 22 points are 29 pixels of em at 576 lines) and the
// outline, shadow and margins are pixels at 576 lines; all of them grow with
// the target's height, so a cue covers the same share of the picture on
// every target.
struct HdStyle {
  QString fontName = QStringLiteral("Arial");
  int points = 22;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  Rgb text{255, 255, 255};
  Rgb outline{0, 0, 0};
  double outlineWidth = 2;
  double shadow = 0;
  // 1..9 as on a keypad: 2 is bottom centre; cue markup such as {\an8}
  // places single cues elsewhere.
  int alignment = 2;
  int marginSides = 16;
  int marginVertical = 30;

  friend bool operator==(const HdStyle&, const HdStyle&) = default;
};

// The keypad alignment of the DVD style's horizontal choice: "center" is
// bottom centre, "left" bottom left and anything else bottom right.
int BottomAlignment(const QString& align);

}  // namespace tesmora
