#include "about/VersionFetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace tesmora {
namespace {

struct Transfer {
  QByteArray body;
  QByteArray statusLine;  // the last "HTTP/x.y code reason" line received
  bool cut = false;       // the body reached the limit and reading stopped
};

// Keeps the body up to the limit; past it, the short count returned ends the
// transfer.
size_t OnBody(char* data, size_t size, size_t count, void* user) {
  Transfer& transfer = *static_cast<Transfer*>(user);
  const qsizetype room = kVersionPageLimit - transfer.body.size();
  const qsizetype kept = std::min(room, static_cast<qsizetype>(size * count));
  transfer.body.append(data, kept);
  if (kept < static_cast<qsizetype>(size * count)) {
    transfer.cut = true;
    return 0;
  }
  return size * count;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  KeepStatusLine(QByteArray(data, static_cast<qsizetype>(size * count)),
                 static_cast<Transfer*>(user)->statusLine);
  return size * count;
}

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

void KeepStatusLine(const QByteArray& line, QByteArray& statusLine) {
  if (line.startsWith("HTTP/")) {
    statusLine = line.trimmed();
  }
}

QString StatusText(const QByteArray& statusLine) {
  const qsizetype blank = statusLine.indexOf(' ');
  return QString::fromLatin1(blank < 0 ? statusLine : statusLine.mid(blank + 1));
}

VersionFetchResult FetchVersionPage(const QString& host, const QString& path, int port,
                                    FetchTimeouts timeouts) {
  VersionFetchResult result;
  const std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
  if (!curl) {
    result.error = QStringLiteral("Failed initialization");
    return result;
  }
  const QByteArray url = ("http://" + host + ":" + QString::number(port) + "/" + path).toUtf8();
  // libcurl sends Host itself; "Accept" replaces its own, and no other
  // header goes out.
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, "Accept: text/html, */*");
  headers = curl_slist_append(headers, "User-Agent: Mozilla/3.0 (compatible; Indy Library)");
  const std::unique_ptr<curl_slist, ListDeleter> headerList(headers);

  Transfer transfer;
  char errorText[CURL_ERROR_SIZE] = {};
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.constData());
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(handle, CURLOPT_PROXY, "");
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.total.count()));
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);

  const CURLcode code = curl_easy_perform(handle);
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  if (code != CURLE_OK && !(code == CURLE_WRITE_ERROR && transfer.cut)) {
    result.error = QString::fromUtf8(errorText[0] != '\0' ? errorText : curl_easy_strerror(code));
    return result;
  }
  if (status < 200 || status > 299) {
    result.error = StatusText(transfer.statusLine);
    return result;
  }
  result.ok = true;
  result.body = transfer.body;
  return result;
}

}  // namespace tesmora
