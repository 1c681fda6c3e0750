#include "about/TUpdater.h"

#include "about/ShownText.h"

namespace tesmora {

TUpdater::TUpdater(Platform& platform, int& liveCount)
    : platform_(platform), liveCount_(liveCount) {
  ++liveCount_;
}

TUpdater::~TUpdater() {
  --liveCount_;
}

std::unique_ptr<TUpdater> CreateUpdater(Platform& platform, int& liveCount) {
  if (liveCount >= 2) {
    platform.showMessage(QStringLiteral("Max Updaters created"));
    return nullptr;
  }
  return std::make_unique<TUpdater>(platform, liveCount);
}

QByteArray TUpdater::FetchVersionText(const UpdateServer& server) {
  const VersionFetchResult result =
      FetchVersionPage(server.host, server.versionPath, server.port, server.timeouts);
  if (result.ok) {
    return result.body;
  }
  const QString error = ShownServerText(result.error);
  if (result.error == QLatin1String("404 Not Found")) {
    platform_.showInformation(QStringLiteral("Server Down. Retry later. Error : ") + error);
  } else {
    platform_.showInformation(
        QStringLiteral("You are Offline. Connect to internet and retry. Error : ") + error);
  }
  return {};
}

void TUpdater::CheckForUpdate(const QByteArray& currentVersion, const UpdateServer& server) {
  const QByteArray latest = FetchVersionText(server);
  if (latest.isEmpty()) {
    return;
  }
  if (latest == currentVersion) {
    platform_.showMessage(QStringLiteral("No updates found."));
    return;
  }
  if (platform_.askYesNo(QStringLiteral("Update Found. Version :") +
                         ShownServerText(QString::fromLatin1(latest)) + QLatin1Char('\r') +
                         QStringLiteral("Update Now ?"))) {
    platform_.openUrl(server.downloadPage);
  }
}

}  // namespace tesmora
