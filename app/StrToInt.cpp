#include "app/StrToInt.h"

#include "platform/Platform.h"

namespace tesmora {

int StrToInt(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) {
    throw PlatformError(QLatin1Char('\'') + text +
                        QStringLiteral("' is not a valid integer value"));
  }
  return value;
}

}  // namespace tesmora
