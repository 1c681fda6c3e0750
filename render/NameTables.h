#pragma once

#include <QString>

#include "subtitles/Charsets.h"

namespace tesmora {

// Style flags of a subtitle font.
struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

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
