#include <gtest/gtest.h>

#include <chrono>

#include "about/TUpdater.h"
#include "tests/about/LocalHttpServer.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

using testing::LocalHttpServer;
using namespace Qt::Literals::StringLiterals;

const QString kOffline = QStringLiteral("You are Offline. Connect to internet and retry. Error : ");

class VersionCheckTest : public ::testing::Test {
 protected:
  UpdateServer serverAt(int port) {
    UpdateServer server;
    server.host = QStringLiteral("127.0.0.1");
    server.port = port;
    server.timeouts = {std::chrono::milliseconds(2000), std::chrono::milliseconds(3000)};
    return server;
  }
  void check(const std::string& answer) {
    LocalHttpServer server(answer);
    int live = 0;
    TUpdater updater(platform, live);
    updater.CheckForUpdate("42.7", serverAt(server.port()));
  }

  ::tesmora::testing::FakePlatform platform;
};

TEST_F(VersionCheckTest, SendsExactlyTheThreeHeaderLines) {
  LocalHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n42.7");
  int live = 0;
  TUpdater updater(platform, live);
  updater.CheckForUpdate("42.7", serverAt(server.port()));
  EXPECT_EQ(server.request(),
            "GET /divx/Versions/TesmoraVersion.html HTTP/1.1\r\nHost: 127.0.0.1:" +
                std::to_string(server.port()) +
                "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 "
                "(compatible; Indy Library)\r\n\r\n");
  EXPECT_EQ(platform.messages, QStringList{"No updates found."});
}

TEST_F(VersionCheckTest, OffersAnyOtherVersionByteForByte) {
  platform.answers = {true};
  check("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n42.7\n");
  EXPECT_EQ(platform.questions, QStringList{u"Update Found. Version :42.7\u240A\rUpdate Now ?"_s});
  EXPECT_EQ(platform.openedUrls,
            QStringList{"http://tesmora.example.org/divx/SoftwareTesmora.html"});

  platform.answers = {false};
  check("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\n41\r\n2\r\n.0\r\n0\r\n\r\n");
  EXPECT_EQ(platform.questions.last(), QStringLiteral("Update Found. Version :41.0\rUpdate Now ?"));
  EXPECT_EQ(platform.openedUrls.size(), 1);

  check("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n43.0");
  EXPECT_EQ(platform.questions.last(), QStringLiteral("Update Found. Version :43.0\rUpdate Now ?"));
  EXPECT_TRUE(platform.informations.isEmpty());
}

TEST_F(VersionCheckTest, AnEmptyPageSaysNothing) {
  check("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_TRUE(platform.informations.isEmpty());
  EXPECT_TRUE(platform.questions.isEmpty());
}

TEST_F(VersionCheckTest, ReportsStatusesAsTheServerSentThem) {
  check("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
  check("HTTP/1.1 404 not found\r\nContent-Length: 0\r\n\r\n");
  check("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n");
  check(
      "HTTP/1.1 301 Moved Permanently\r\nLocation: http://127.0.0.1:1/x\r\nContent-Length: "
      "0\r\n\r\n");
  EXPECT_EQ(
      platform.informations,
      (QStringList{"Server Down. Retry later. Error : 404 Not Found", kOffline + "404 not found",
                   kOffline + "500 Internal Server Error", kOffline + "301 Moved Permanently"}));
  EXPECT_TRUE(platform.questions.isEmpty());
}

TEST_F(VersionCheckTest, NetworkFailuresAndSilentServersEndInTheOfflineMessage) {
  int live = 0;
  {
    TUpdater updater(platform, live);
    updater.CheckForUpdate("42.7", serverAt(LocalHttpServer::ClosedPort()));
  }
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_TRUE(platform.informations[0].startsWith(kOffline));
  EXPECT_GT(platform.informations[0].size(), kOffline.size());

  LocalHttpServer silent("", false);
  UpdateServer server = serverAt(silent.port());
  server.timeouts.total = std::chrono::milliseconds(500);
  const auto started = std::chrono::steady_clock::now();
  TUpdater updater(platform, live);
  updater.CheckForUpdate("42.7", server);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  ASSERT_EQ(platform.informations.size(), 2);
  EXPECT_TRUE(platform.informations[1].startsWith(kOffline));
}

// The page is a few bytes: a page of megabytes, or one without end, is read
// up to 64 KiB, and the question shows its first 200 characters.
TEST_F(VersionCheckTest, ReadsAtMost64KiBAndShowsAtMost200Characters) {
  const QByteArray page = QByteArray("43.0 ") + QByteArray(10 * 1024 * 1024, 'x');
  LocalHttpServer large("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) +
                        "\r\n\r\n" + page.toStdString());
  const VersionFetchResult result =
      FetchVersionPage("127.0.0.1", "v.html", large.port(), serverAt(0).timeouts);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.body, page.left(64 * 1024));

  platform.answers = {false};
  check("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) + "\r\n\r\n" +
        page.toStdString());
  EXPECT_EQ(platform.questions,
            QStringList{"Update Found. Version :" + QString::fromLatin1(page.left(200)) +
                        "\rUpdate Now ?"});

  // Four gigabytes announced and an endless stream sent: the check ends well
  // before the total timeout, having taken little more than the limit.
  LocalHttpServer endless =
      LocalHttpServer::Endless("HTTP/1.1 200 OK\r\nContent-Length: 4294967296\r\n\r\n");
  int live = 0;
  TUpdater updater(platform, live);
  const auto started = std::chrono::steady_clock::now();
  updater.CheckForUpdate("42.7", serverAt(endless.port()));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_EQ(platform.questions.last(),
            "Update Found. Version :" + QString(200, '9') + "\rUpdate Now ?");
  EXPECT_TRUE(platform.informations.isEmpty());
  EXPECT_LT(endless.sent(), std::size_t{16} * 1024 * 1024);
}

TEST_F(VersionCheckTest, ControlCharactersOfTheServerAddNoLines) {
  platform.answers = {false};
  check("HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n4\r\n3\n\t.0\x1b\x7f\x85!");
  EXPECT_EQ(platform.questions,
            QStringList{u"Update Found. Version :4\u240D\u240A3\u240A\u2409.0\u241B\u2421\uFFFD!"
                        u"\rUpdate Now ?"_s});
  check("HTTP/1.1 500 Bad\rNews\r\nContent-Length: 0\r\n\r\n");
  EXPECT_EQ(platform.informations, QStringList{kOffline + u"500 Bad\u240DNews"_s});
}

TEST_F(VersionCheckTest, AtMostTwoCheckersLiveAtOnce) {
  int live = 0;
  auto first = CreateUpdater(platform, live);
  auto second = CreateUpdater(platform, live);
  EXPECT_EQ(live, 2);
  EXPECT_EQ(CreateUpdater(platform, live), nullptr);
  EXPECT_EQ(platform.messages, QStringList{"Max Updaters created"});
  second.reset();
  EXPECT_NE(CreateUpdater(platform, live), nullptr);
  EXPECT_EQ(live, 1);
}

}  // namespace
}  // namespace tesmora
