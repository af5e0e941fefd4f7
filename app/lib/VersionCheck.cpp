#include "app/lib/VersionCheck.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <optional>

#include "core/ProgressBar.h"
#include "platform/Http.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"

namespace qova::app {

namespace {

// The body is read up to this many bytes; a proper reply is far shorter.
constexpr std::size_t kMaxReplyBytes = 1024;
constexpr std::size_t kMinDateBytes = 9;
constexpr std::size_t kMaxDateBytes = 79;
constexpr std::size_t kDateLength = 10;
// The window keeps repainting while the request waits; a wait this long gets the progress dialog and its Cancel.
constexpr std::chrono::milliseconds kPumpInterval{20};
constexpr std::chrono::seconds kProgressDelay{1};

enum class FetchEnd { Reply, NoReply, Cancelled };

// Runs the request on a worker thread while this, the user-interface thread,
// keeps handling messages. The worker has its own copy of the request and
// hands its result back only through the future; it touches no window.
FetchEnd FetchWhilePumping(platform::HttpRequest request, platform::HttpResponse& reply) {
  std::atomic<bool> cancelled{false};
  request.cancelled = &cancelled;
  std::future<std::optional<platform::HttpResponse>> fetched =
      std::async(std::launch::async, [request]() -> std::optional<platform::HttpResponse> {
        try {
          return platform::HttpGet(request);
        } catch (const platform::HttpError&) {
          return std::nullopt;
        }
      });
  BOOL keepGoing = TRUE;
  std::unique_ptr<CProgressBar> progress;
  const auto started = std::chrono::steady_clock::now();
  while (fetched.wait_for(kPumpInterval) != std::future_status::ready) {
    // The quit message ends the wait as Cancel does; the pump posts it again for the main loop.
    if (!CProgressBar::PumpMessages()) keepGoing = FALSE;
    if (!progress && keepGoing && std::chrono::steady_clock::now() - started >= kProgressDelay)
      progress = std::make_unique<CProgressBar>(&keepGoing);
    if (!keepGoing) cancelled = true;
  }
  progress.reset();
  std::optional<platform::HttpResponse> result = fetched.get();
  if (cancelled) return FetchEnd::Cancelled;
  if (!result) return FetchEnd::NoReply;
  reply = std::move(*result);
  return FetchEnd::Reply;
}

}  // namespace

VersionVerdict JudgeVersionReply(int status, std::string_view body) {
  if (status != 200 || body.size() < kMinDateBytes || body.size() > kMaxDateBytes) return VersionVerdict::ConnectionError;
  std::string_view released = body.substr(0, kDateLength);
  return std::string_view(kBuildDate) < released ? VersionVerdict::NewerAvailable : VersionVerdict::Latest;
}

std::string VersionServer() {
  std::string server = platform::Trim(platform::AppProfile().GetProfileString(kWebSection, kVersionServerKey, ""));
  if (server.empty()) return server;
  if (server.find("://") == std::string::npos) server = "http://" + server;
  while (!server.empty() && server.back() == '/') server.pop_back();
  return server;
}

void CheckForNewVersion(long timeLimitSeconds) {
  const std::string server = VersionServer();
  if (server.empty()) {
    AfxMessageBox(kMessageWebNotConnected);
    return;
  }
  platform::HttpRequest request{server + kVersionFilePath, kVersionAgent, kMaxReplyBytes};
  request.connectTimeoutSeconds = std::min(request.connectTimeoutSeconds, timeLimitSeconds);
  request.totalTimeoutSeconds = timeLimitSeconds;
  platform::HttpResponse reply;
  switch (FetchWhilePumping(request, reply)) {
    case FetchEnd::Cancelled: return;
    case FetchEnd::NoReply: AfxMessageBox(kMessageConnectionError); return;
    case FetchEnd::Reply: break;
  }
  switch (JudgeVersionReply(reply.status, reply.body)) {
    case VersionVerdict::ConnectionError: AfxMessageBox(kMessageConnectionError); break;
    case VersionVerdict::Latest: AfxMessageBox(kMessageLatestVersion); break;
    case VersionVerdict::NewerAvailable:
      if (AfxMessageBox(kMessageNewVersion, MB_YESNO) == IDYES && !platform::ui::OpenUrl(server + "/"))
        AfxMessageBox(kMessageWebNotConnected);
      break;
  }
}

}  // namespace qova::app
