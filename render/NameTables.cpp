#include "render/NameTables.h"

#include <array>
#include <utility>

namespace tesmora {

FontStyle StyleFromName(const QString& name) {
  static constexpr std::array<std::pair<const char*, FontStyle>, 9> kStyles{{
      {"Normal", {}},
      {"Bold", {.bold = true}},
      {"Italic", {.italic = true}},
      {"Underline", {.underline = true}},
      {"StrikeOut", {.strikeOut = true}},
      {"Bold+Italic", {.bold = true, .italic = true}},
      {"Bold+Under", {.bold = true, .underline = true}},
      {"Bold+It+Und", {.bold = true, .italic = true, .underline = true}},
      {"Italic+Under", {.italic = true, .underline = true}},
  }};
  for (const auto& [text, style] : kStyles) {
    if (name == QLatin1String(text)) {
      return style;
    }
  }
  return {};
}

int CharsetFromName(const QString& name) {
  static constexpr std::array<std::pair<const char*, int>, 19> kCharsets{{
      {"ANSI", charset::kAnsi},
      {"ARABIC", charset::kArabic},
      {"BALTIC", charset::kBaltic},
      {"CHINESEBIG5", charset::kChineseBig5},
      {"DEFAULT", charset::kDefault},
      {"EASTEUROPE", charset::kEastEurope},
      {"GB2312", charset::kGb2312},
      {"GREEK", charset::kGreek},
      {"HANGEUL", charset::kHangeul},
      {"HEBREW", charset::kHebrew},
      {"JOHAB", charset::kJohab},
      {"MAC", charset::kMac},
      {"OEM", charset::kOem},
      {"RUSSIAN", charset::kRussian},
      {"SHIFTJIS", charset::kShiftJis},
      {"SYMBOL", charset::kSymbol},
      {"THAI", charset::kThai},
      {"TURKISH", charset::kTurkish},
      {"VIETNAMESE", charset::kVietnamese},
  }};
  for (const auto& [text, code] : kCharsets) {
    if (name == QLatin1String(text)) {
      return code;
    }
  }
  return charset::kDefault;
}

int RolePaletteIndex(const QString& itemText) {
  static const QString kPrefix = QStringLiteral("Color ");
  if (!itemText.startsWith(kPrefix)) {
    return 0;
  }
  bool ok = false;
  const int index = itemText.mid(kPrefix.size()).toInt(&ok);
  return ok && index >= 0 && index <= 15 ? index : 0;
}

}  // namespace tesmora
