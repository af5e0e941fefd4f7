// Help > Check for new version against a server of the test's own on
// 127.0.0.1: the request, the reply's checks, the date comparison and the
// messages, and no network at all while no server is set.
#include <memory>

#include "app/lib/VersionCheck.h"
#include "platform/Http.h"
#include "platform/Profile.h"
#include "resources/CommandIds.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/LocalHttpServer.h"

using namespace qova::app;

namespace qova::test {
namespace {

// Counts the requests that reach the network layer.
class CountingClient : public platform::HttpClient {
 public:
  platform::HttpResponse Get(const platform::HttpRequest&) override {
    ++requests;
    throw platform::HttpError("no network in this test");
  }
  int requests = 0;
};

class VersionCheckTest : public UiTest {
 protected:
  VersionCheckTest() { platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>()); }
  ~VersionCheckTest() override { platform::SetHttpClient(nullptr); }

  void UseServer(const std::string& address) {
    platform::AppProfile().WriteProfileString(kWebSection, kVersionServerKey, address);
  }
  // Runs the check against a reply of `status` and `body`, answering the
  // question (if it comes) with `answer`; returns the messages shown.
  std::vector<std::string> CheckAgainst(int status, const std::string& body, int answer = IDNO) {
    server_.Reply(status, body);
    UseServer(server_.BaseUrl());
    messages_.Clear();
    messages_.QueueAnswer(answer);
    CheckForNewVersion();
    return messages_.Texts();
  }

  TempHome home_;
  LocalHttpServer server_;
};

TEST(VersionReplyTest, StatusLengthAndDateDecide) {
  using V = VersionVerdict;
  const struct {
    int status;
    std::string body;
    VersionVerdict verdict;
  } cases[] = {
      {200, "2007.08.09", V::Latest},
      {200, "2007.08.09\r\n", V::Latest},
      {200, "2007.08.10", V::NewerAvailable},
      {200, "2007.08.08", V::Latest},
      {200, "2008.01.01 and more text", V::NewerAvailable},
      {200, "2007.08.1", V::NewerAvailable},  // nine bytes, compared on nine characters
      {200, "2007.08.0", V::Latest},
      {200, "2007.08.", V::ConnectionError},  // eight bytes
      {200, std::string(79, '9'), V::NewerAvailable},
      {200, std::string(80, '9'), V::ConnectionError},
      {200, "", V::ConnectionError},
      {404, "2007.08.10", V::ConnectionError},
      {500, "2007.08.10", V::ConnectionError},
      {0, "2007.08.10", V::ConnectionError},
  };
  for (const auto& c : cases) EXPECT_EQ(JudgeVersionReply(c.status, c.body), c.verdict) << c.status << " " << c.body;
}

TEST_F(VersionCheckTest, AsksTheServerForTheVersionFileAsQova) {
  EXPECT_EQ(CheckAgainst(200, "2007.08.09"), std::vector<std::string>{kMessageLatestVersion});
  std::vector<LocalHttpServer::Request> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].path, "/qova_current_version.txt");
  EXPECT_EQ(requests[0].userAgent, "QOVA");
}

TEST_F(VersionCheckTest, RepliesGiveTheirMessages) {
  const struct {
    int status;
    std::string body;
    const char* message;
  } cases[] = {
      {200, "2007.08.09", kMessageLatestVersion},
      {200, "2007.08.08\n", kMessageLatestVersion},
      {200, "2007.08.1", kMessageNewVersion},
      {200, "2007.08.", kMessageConnectionError},
      {200, std::string(80, '2'), kMessageConnectionError},
      {200, "2099.01.01" + std::string(4000, ' '), kMessageConnectionError},
      {404, "2099.01.01", kMessageConnectionError},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckAgainst(c.status, c.body), std::vector<std::string>{c.message}) << c.status << " " << c.body.size();
  EXPECT_TRUE(Ui().OpenedUrls().empty());
}

TEST_F(VersionCheckTest, NewerVersionOffersTheDownloadPage) {
  EXPECT_EQ(CheckAgainst(200, "2007.08.10", IDYES), std::vector<std::string>{kMessageNewVersion});
  EXPECT_EQ(messages_.AllShown()[0].type & 0xF, MB_YESNO);
  EXPECT_EQ(Ui().OpenedUrls(), std::vector<std::string>{server_.BaseUrl() + "/"});

  // A browser that cannot be started is reported.
  Ui().SetOpenUrlSucceeds(false);
  EXPECT_EQ(CheckAgainst(200, "2007.08.10", IDYES), (std::vector<std::string>{kMessageNewVersion, kMessageWebNotConnected}));

  EXPECT_EQ(CheckAgainst(200, "2007.08.10", IDNO), std::vector<std::string>{kMessageNewVersion});
  EXPECT_EQ(Ui().OpenedUrls().size(), 2u);
}

TEST_F(VersionCheckTest, NoServerSetMeansNoNetworkAtAll) {
  CountingClient client;
  platform::SetHttpClient(&client);
  for (const char* setting : {"", "   "}) {
    UseServer(setting);
    messages_.Clear();
    CheckForNewVersion();
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMessageWebNotConnected});
  }
  EXPECT_EQ(client.requests, 0);
}

TEST_F(VersionCheckTest, UnreachableServerIsAConnectionError) {
  UseServer("127.0.0.1:" + std::to_string(LocalHttpServer::UnusedPort()));
  CheckForNewVersion();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMessageConnectionError});
}

TEST_F(VersionCheckTest, ServerSettingBecomesABaseAddress) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"example.org", "http://example.org"},
      {" 127.0.0.1:8080/ ", "http://127.0.0.1:8080"},
      {"https://example.org/qova/", "https://example.org/qova"},
  };
  for (const auto& [setting, base] : cases) {
    UseServer(setting);
    EXPECT_EQ(VersionServer(), base) << setting;
  }
}

class VersionCheckCommandTest : public AppTest {};

TEST_F(VersionCheckCommandTest, HelpMenuRunsTheCheck) {
  ASSERT_TRUE(Start());
  LocalHttpServer server;
  server.Reply(200, "2007.08.09");
  platform::AppProfile().WriteProfileString(kWebSection, kVersionServerKey, server.BaseUrl());
  EXPECT_TRUE(Choose(resources::kCmdCheckNewVersion));
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMessageLatestVersion});
  EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace qova::test
