#pragma once
// A tiny HTTP server on 127.0.0.1 for the tests: it answers every request
// with the status and body it was given and records what it was asked. It
// listens on a port of the system's choosing and stops with the object.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qova::test {

class LocalHttpServer {
 public:
  struct Request {
    std::string method;
    std::string path;
    std::string userAgent;
  };

  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // The next replies.
  void Reply(int status, std::string body);
  // "http://127.0.0.1:<port>".
  [[nodiscard]] std::string BaseUrl() const;
  [[nodiscard]] std::vector<Request> Requests() const;

  // A loopback port with nobody listening on it.
  [[nodiscard]] static int UnusedPort();

 private:
  void Serve();
  void Answer(int connection);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  int status_ = 200;
  std::string body_;
  std::vector<Request> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 whose connections the system accepts and nobody ever
// answers: a server that hangs.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  [[nodiscard]] std::string BaseUrl() const;

 private:
  int listener_ = -1;
  int port_ = 0;
};

}  // namespace qova::test
