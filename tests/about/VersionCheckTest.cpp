#include <gtest/gtest.h>

#include <chrono>

#include "about/TUpdater.h"
#include "tests/about/LocalHttpServer.h"
#include "tests/app/FakePlatform.h"

namespace tesmora {
namespace {

using testing::LocalHttpServer;

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
  EXPECT_EQ(platform.questions, QStringList{"Update Found. Version :42.7\n\rUpdate Now ?"});
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
