#include "hdrender/HdStyle.h"

namespace tesmora {

int BottomAlignment(const QString& align) {
  if (align == QStringLiteral("center")) {
    return 2;
  }
  return align == QStringLiteral("left") ? 1 : 3;
}

}  // namespace tesmora
