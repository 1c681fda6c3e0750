// The settings file reader on arbitrary bytes, and writing it back.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "app/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  tesmora::IniFile file = tesmora::IniFile::Parse(content);
  // Read and written back unchanged, the file keeps every byte.
  if (file.text() != content) {
    std::abort();
  }
  (void)file.value(QStringLiteral("Form1"), QStringLiteral("ComboBox5_ItemIndex"));
  file.setValue(QStringLiteral("Form1"), QStringLiteral("offset_Position"), "30");
  // What was set reads back, and the written file reads back the same.
  if (file.value(QStringLiteral("Form1"), QStringLiteral("offset_Position")) != "30") {
    std::abort();
  }
  const tesmora::IniFile again = tesmora::IniFile::Parse(file.text());
  if (again.value(QStringLiteral("Form1"), QStringLiteral("offset_Position")) != "30") {
    std::abort();
  }
  return 0;
}
