#include "app/DroppedFile.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "files/FileNames.h"
#include "subtitles/SubtitleFormats.h"

namespace tesmora {

std::optional<DroppedFile> LoadableFile(const QString& path) {
  // A byte of a name in another encoding stands in the text as a lone
  // surrogate, which the pattern match refuses; it is no letter the
  // patterns look for.
  const QString name = QString::fromUtf8(QFileInfo(path).fileName().toUtf8());
  static const QRegularExpression kTitleSetIfo(QStringLiteral(R"(^VTS_\d\d_0\.IFO$)"),
                                               QRegularExpression::CaseInsensitiveOption);
  if (FormatOfFile(FileNameBytes(path).toStdString())) {
    return DroppedFile{DroppedKind::Subtitles, path};
  }
  if (kTitleSetIfo.match(name).hasMatch()) {
    return DroppedFile{DroppedKind::IfoPalette, path};
  }
  return std::nullopt;
}

std::optional<DroppedFile> FileToLoad(const QList<QUrl>& urls) {
  if (urls.size() != 1 || !urls.constFirst().isLocalFile()) {
    return std::nullopt;
  }
  const QUrl& url = urls.constFirst();
  if (!url.host().isEmpty()) {
    return LoadableFile(url.toLocalFile());
  }
  // A file manager sends the name's bytes percent-encoded; decoding them as
  // UTF-8 would turn a Latin-1 "\xE9" into a character no file has.
  return LoadableFile(
      FileNameText(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())));
}

}  // namespace tesmora
