#include "app/lib/VersionCheck.h"

#include "platform/Http.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"

namespace qova {

namespace {

// The body is read up to this many bytes; a proper reply is far shorter.
constexpr std::size_t kMaxReplyBytes = 1024;
constexpr std::size_t kMinDateBytes = 9;
constexpr std::size_t kMaxDateBytes = 79;
constexpr std::size_t kDateLength = 10;

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

void CheckForNewVersion() {
  const std::string server = VersionServer();
  if (server.empty()) {
    AfxMessageBox(kMessageWebNotConnected);
    return;
  }
  platform::HttpResponse reply;
  try {
    reply = platform::HttpGet({server + kVersionFilePath, kVersionAgent, kMaxReplyBytes});
  } catch (const platform::HttpError&) {
    AfxMessageBox(kMessageConnectionError);
    return;
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

}  // namespace qova
