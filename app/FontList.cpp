#include "app/FontList.h"

#include <QFontDatabase>

namespace tesmora {

QStringList FontNameItems() {
  QStringList items{QStringLiteral("Arial")};
  items << QFontDatabase::families();
  return items;
}

}  // namespace tesmora
