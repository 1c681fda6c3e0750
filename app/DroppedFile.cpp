#include "app/DroppedFile.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace tesmora {

std::optional<DroppedFile> FileToLoad(const QList<QUrl>& urls) {
  if (urls.size() != 1 || !urls.constFirst().isLocalFile()) {
    return std::nullopt;
  }
  const QString path = urls.constFirst().toLocalFile();
  const QString name = QFileInfo(path).fileName();
  static const QRegularExpression kSubtitleName(QStringLiteral(R"(\.(srt|sub|txt)$)"),
                                                QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression kTitleSetIfo(QStringLiteral(R"(^VTS_\d\d_0\.IFO$)"),
                                               QRegularExpression::CaseInsensitiveOption);
  if (kSubtitleName.match(name).hasMatch()) {
    return DroppedFile{DroppedKind::Subtitles, path};
  }
  if (kTitleSetIfo.match(name).hasMatch()) {
    return DroppedFile{DroppedKind::IfoPalette, path};
  }
  return std::nullopt;
}

}  // namespace tesmora
