#include "text/VttEntity.h"

#include <array>

namespace tesmora {
namespace {

struct Entity {
  QStringView name;  // with its "&" and ";"
  char16_t character;
};

constexpr std::array<Entity, 6> kEntities{{
    {u"&amp;", u'&'},
    {u"&lt;", u'<'},
    {u"&gt;", u'>'},
    {u"&nbsp;", u'\u00A0'},
    {u"&lrm;", u'\u200E'},
    {u"&rlm;", u'\u200F'},
}};

}  // namespace

std::optional<MarkupToken> ReadVttEntity(const QString& line, qsizetype at) {
  const QStringView rest = QStringView(line).sliced(at);
  for (const Entity& entity : kEntities) {
    if (rest.startsWith(entity.name)) {
      return MarkupToken{entity.name.size(), {InsertText{QString(QChar(entity.character))}}};
    }
  }
  return std::nullopt;
}

}  // namespace tesmora
