#include "platform/Http.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace platform {

namespace {

struct BodySink {
  std::string body;
  std::size_t limit = 0;
  bool full = false;
};

std::size_t TakeBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* sink = static_cast<BodySink*>(user);
  const std::size_t offered = size * count;
  const std::size_t room = sink->limit - sink->body.size();
  const std::size_t taken = std::min(offered, room);
  sink->body.append(data, taken);
  if (taken < offered) {
    // Enough was read: stop the transfer (curl reports it as a write error).
    sink->full = true;
    return 0;
  }
  return offered;
}

int CheckCancelled(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* cancelled = static_cast<const std::atomic<bool>*>(user);
  return cancelled && cancelled->load() ? 1 : 0;
}

class CurlHttpClient : public HttpClient {
 public:
  HttpResponse Get(const HttpRequest& request) override {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialised) throw HttpError("the HTTP library could not be initialised");
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) throw HttpError("the HTTP library could not be initialised");
    BodySink sink;
    sink.limit = request.maxBodyBytes;
    char error[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(c, CURLOPT_USERAGENT, request.userAgent.c_str());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, request.connectTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, request.totalTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &TakeBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    if (request.cancelled) {
      curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &CheckCancelled);
      curl_easy_setopt(c, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(request.cancelled));
      curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    }
    const CURLcode result = curl_easy_perform(c);
    if (result != CURLE_OK && !(result == CURLE_WRITE_ERROR && sink.full))
      throw HttpError(error[0] ? error : curl_easy_strerror(result));
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    return {int(status), std::move(sink.body)};
  }
};

HttpClient* g_client = nullptr;

}  // namespace

void SetHttpClient(HttpClient* client) { g_client = client; }

HttpClient& CurrentHttpClient() {
  static CurlHttpClient defaultClient;
  return g_client ? *g_client : defaultClient;
}

HttpResponse HttpGet(const HttpRequest& request) { return CurrentHttpClient().Get(request); }

}  // namespace platform
