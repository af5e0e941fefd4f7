#include "tests/app/LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <stdexcept>

namespace qova::test {

namespace {

constexpr int kPollMilliseconds = 50;
// A request line and headers never need more; a client that sends more is cut off.
constexpr std::size_t kMaxRequestBytes = 16 * 1024;
constexpr auto kRequestDeadline = std::chrono::seconds(5);

int BoundLoopbackSocket(int& port) {
  int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(s);
    throw std::runtime_error("bind to 127.0.0.1 failed");
  }
  port = ntohs(address.sin_port);
  return s;
}

std::string HeaderValue(const std::string& head, const std::string& name) {
  std::size_t at = 0;
  while ((at = head.find("\r\n", at)) != std::string::npos) {
    at += 2;
    std::size_t colon = head.find(':', at);
    std::size_t end = head.find("\r\n", at);
    if (colon == std::string::npos || end == std::string::npos || colon > end) continue;
    std::string key = head.substr(at, colon - at);
    bool same = key.size() == name.size();
    for (std::size_t i = 0; same && i < key.size(); ++i) same = std::tolower(key[i]) == std::tolower(name[i]);
    if (same) {
      std::size_t value = head.find_first_not_of(' ', colon + 1);
      return head.substr(value, end - value);
    }
  }
  return {};
}

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
  listener_ = BoundLoopbackSocket(port_);
  if (::listen(listener_, 8) != 0) {
    ::close(listener_);
    throw std::runtime_error("listen failed");
  }
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

void LocalHttpServer::Reply(int status, std::string body) {
  std::lock_guard lock(mutex_);
  status_ = status;
  body_ = std::move(body);
}

std::string LocalHttpServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<LocalHttpServer::Request> LocalHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

int LocalHttpServer::UnusedPort() {
  int port = 0;
  ::close(BoundLoopbackSocket(port));
  return port;
}

void LocalHttpServer::Serve() {
  while (!stop_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
    int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    Answer(connection);
    ::close(connection);
  }
}

void LocalHttpServer::Answer(int connection) {
  std::string head;
  const auto deadline = std::chrono::steady_clock::now() + kRequestDeadline;
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestBytes) {
    if (stop_ || std::chrono::steady_clock::now() > deadline) return;
    pollfd readable{connection, POLLIN, 0};
    if (::poll(&readable, 1, kPollMilliseconds) <= 0) continue;
    char buffer[1024];
    ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) return;
    head.append(buffer, std::size_t(got));
  }
  Request request;
  std::size_t firstSpace = head.find(' ');
  std::size_t secondSpace = head.find(' ', firstSpace + 1);
  if (firstSpace == std::string::npos || secondSpace == std::string::npos) return;
  request.method = head.substr(0, firstSpace);
  request.path = head.substr(firstSpace + 1, secondSpace - firstSpace - 1);
  request.userAgent = HeaderValue(head, "User-Agent");
  int status;
  std::string body;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    status = status_;
    body = body_;
  }
  std::string reply = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) +
                      "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                      "\r\nConnection: close\r\n\r\n" + body;
  for (std::size_t sent = 0; sent < reply.size();) {
    ssize_t n = ::send(connection, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += std::size_t(n);
  }
}

SilentServer::SilentServer() {
  listener_ = BoundLoopbackSocket(port_);
  // The backlog completes the connections; nothing ever accepts them.
  if (::listen(listener_, 8) != 0) throw std::runtime_error("listen on 127.0.0.1 failed");
}

SilentServer::~SilentServer() { ::close(listener_); }

std::string SilentServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

}  // namespace qova::test
