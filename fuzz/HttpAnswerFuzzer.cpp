// Our part of reading an HTTP answer: the status lines the header callback
// keeps and the error text made of them.
#include <QByteArray>
#include <QByteArrayList>
#include <cstdint>

#include "about/VersionFetch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray answer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QByteArray statusLine;
  for (const QByteArray& line : answer.split('\n')) {
    tesmora::KeepStatusLine(line + '\n', statusLine);
  }
  (void)tesmora::StatusText(statusLine);
  return 0;
}
