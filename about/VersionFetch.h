#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

namespace tesmora {

// The answer to one GET of the version page: the body of a 2xx answer, or
// the error text of a failure: "<status code> <reason phrase>" for any other
// status (redirections are not followed), or the network library's own text
// when the server cannot be reached, does not answer in time, or breaks off.
struct VersionFetchResult {
  bool ok = false;
  QByteArray body;
  QString error;
};

// The version page is a few bytes; reading stops after this many, so that a
// wrong or endless answer neither fills the memory nor holds the window.
inline constexpr qsizetype kVersionPageLimit = 64 * 1024;

struct FetchTimeouts {
  std::chrono::milliseconds connect{10000};
  std::chrono::milliseconds total{20000};
};

// Keeps `line` in `statusLine` when it is a status line ("HTTP/1.1 404 Not
// Found"); a later one (after a "100 Continue") replaces an earlier one.
void KeepStatusLine(const QByteArray& line, QByteArray& statusLine);

// "404 Not Found" from "HTTP/1.1 404 Not Found": the status line without its
// protocol version.
QString StatusText(const QByteArray& statusLine);

// GET http://host:port/path with exactly the header lines Host, Accept
// ("text/html, */*") and User-Agent ("Mozilla/3.0 (compatible; Indy
// Library)"). Blocks until the answer is in or the request failed; never
// longer than the total timeout. A body longer than kVersionPageLimit is cut
// there.
VersionFetchResult FetchVersionPage(const QString& host, const QString& path, int port,
                                    FetchTimeouts timeouts = {});

}  // namespace tesmora
