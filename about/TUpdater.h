#pragma once

#include <QString>
#include <memory>

#include "about/VersionFetch.h"
#include "platform/Platform.h"

namespace tesmora {

// Where the version check asks: the maker's web server, port 80, and its
// pages.
struct UpdateServer {
  QString host = QStringLiteral("tesmora.example.org");
  int port = 80;
  QString versionPath = QStringLiteral("divx/Versions/TesmoraVersion.html");
  QString downloadPage = QStringLiteral("http://tesmora.example.org/divx/SoftwareTesmora.html");
  FetchTimeouts timeouts;
};

// One version check. The count of live checkers belongs to whoever creates
// them (the About window); at most two may exist at once.
class TUpdater {
 public:
  TUpdater(Platform& platform, int& liveCount);
  ~TUpdater();
  TUpdater(const TUpdater&) = delete;
  TUpdater& operator=(const TUpdater&) = delete;

  // Fetches the version page and reports its failures; empty after a failure.
  QByteArray FetchVersionText(const UpdateServer& server);
  // Compares the page with the running version and offers the download page
  // when they differ in any byte.
  void CheckForUpdate(const QByteArray& currentVersion, const UpdateServer& server);

 private:
  Platform& platform_;
  int& liveCount_;
};

// A new checker, or none (after saying so) while two are alive.
std::unique_ptr<TUpdater> CreateUpdater(Platform& platform, int& liveCount);

}  // namespace tesmora
