#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

namespace tesmora::testing {

// A one-shot HTTP server on 127.0.0.1 for the version check: accepts one
// connection, keeps the request it received, sends a canned answer (or
// none, to play a server that hangs, or one without end) and closes.
class LocalHttpServer {
 public:
  explicit LocalHttpServer(std::string answer, bool answers = true, bool endless = false)
      : answer_(std::move(answer)), answers_(answers), endless_(endless) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 1);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }

  ~LocalHttpServer() {
    stop_ = true;
    if (thread_.joinable()) {
      thread_.join();
    }
    ::close(listener_);
  }

  // A server that sends `head` and then body bytes without end, until the
  // client goes away; it counts what it could send.
  static LocalHttpServer Endless(std::string head) {
    return LocalHttpServer(std::move(head), true, true);
  }

  int port() const { return port_; }

  // The bytes of the answer the client took, once the exchange is over.
  std::size_t sent() {
    request();
    return sent_;
  }

  // What the client sent, once the exchange is over.
  std::string request() {
    if (thread_.joinable()) {
      stop_ = true;
      thread_.join();
    }
    return request_;
  }

  // A port on which nothing listens.
  static int ClosedPort() {
    LocalHttpServer probe("", false);
    return probe.port();
  }

 private:
  bool waitReadable(int socket) {
    pollfd poller{socket, POLLIN, 0};
    while (!stop_) {
      if (::poll(&poller, 1, 20) > 0) {
        return true;
      }
    }
    return false;
  }

  bool sendAll(int connection, const std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
      const ssize_t put = ::send(connection, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
      if (put <= 0) {
        return false;
      }
      at += static_cast<std::size_t>(put);
      sent_ += static_cast<std::size_t>(put);
    }
    return true;
  }

  void serve() {
    if (!waitReadable(listener_)) {
      return;
    }
    const int connection = ::accept(listener_, nullptr, nullptr);
    char buffer[4096];
    while (request_.find("\r\n\r\n") == std::string::npos && waitReadable(connection)) {
      const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
      if (got <= 0) {
        break;
      }
      request_.append(buffer, static_cast<std::size_t>(got));
    }
    if (answers_) {
      sendAll(connection, answer_);
      const std::string filler(64 * 1024, '9');
      while (endless_ && !stop_ && sendAll(connection, filler)) {
      }
    } else {
      while (!stop_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    }
    ::close(connection);
  }

  std::string answer_;
  bool answers_;
  bool endless_;
  std::size_t sent_ = 0;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::string request_;
  std::thread thread_;
};

}  // namespace tesmora::testing
