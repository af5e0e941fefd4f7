#pragma once
// One HTTP GET through a replaceable client. The default client uses
// libcurl, follows redirects, speaks http and https only, and gives up after
// a bounded time, so a silent server cannot hang the program.
#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace platform {

struct HttpRequest {
  std::string url;
  std::string userAgent;
  // The body is read up to this many bytes; the rest is not fetched.
  std::size_t maxBodyBytes = 1024;
  long connectTimeoutSeconds = 10;
  long totalTimeoutSeconds = 30;
  // Set from another thread, it ends the request within about a second (an HttpError).
  const std::atomic<bool>* cancelled = nullptr;
};

struct HttpResponse {
  int status = 0;    // the HTTP status code of the last response
  std::string body;  // at most maxBodyBytes bytes
};

// No response was had: a bad address, no connection, a timeout or a broken reply.
class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Throws HttpError when there is no response; any status is a response.
  virtual HttpResponse Get(const HttpRequest& request) = 0;
};

// Installs a client (not owned); nullptr restores the default one.
void SetHttpClient(HttpClient* client);
[[nodiscard]] HttpClient& CurrentHttpClient();
// A GET through the current client.
HttpResponse HttpGet(const HttpRequest& request);

}  // namespace platform
