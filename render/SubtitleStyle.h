#pragma once

#include <QString>

#include "render/NameTables.h"

namespace tesmora {

// The style of all subtitles, as the window's controls hold it.
struct SubtitleStyle {
  QString fontName = QStringLiteral("Arial");
  int size = 22;
  int charset = charset::kDefault;
  FontStyle style;
  QString align = QStringLiteral("center");
  int offset = 30;
  int offsetOr = -4;
};

}  // namespace tesmora
