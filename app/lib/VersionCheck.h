#pragma once
// Help > Check for new version: one HTTP GET of a small text file on the
// maker's server whose first ten characters are the newest release date,
// compared with this build's date. The server is a setting of the user's
// own; without one the check does not touch the network.
#include <string>
#include <string_view>

namespace qova::app {

// The build date the About box shows and the check compares.
inline constexpr const char* kBuildDate = "2007.08.09";

inline constexpr const char* kVersionFilePath = "/qova_current_version.txt";
inline constexpr const char* kVersionAgent = "QOVA";
// Settings: the server's address ("host", "host:port" or a URL up to the
// path); the download page is the server's root page.
inline constexpr const char* kWebSection = "Web";
inline constexpr const char* kVersionServerKey = "VersionServer";

inline constexpr const char* kMessageConnectionError = "Error in internet connection";
inline constexpr const char* kMessageNewVersion = "New version is available\n Go to download page?";
inline constexpr const char* kMessageWebNotConnected = "Web not connected";
inline constexpr const char* kMessageLatestVersion = "This is the latest version";

enum class VersionVerdict { ConnectionError, Latest, NewerAvailable };

// What a reply to the version request says about this build: anything but
// status 200 with a body of 9 to 79 bytes is a connection error; otherwise
// the body's first ten characters are compared with the build date as text.
[[nodiscard]] VersionVerdict JudgeVersionReply(int status, std::string_view body);

// The configured server as a URL without a trailing '/', or "" when none is set.
[[nodiscard]] std::string VersionServer();

// A server that accepts the connection and never answers is given up after this long.
inline constexpr long kVersionTimeLimitSeconds = 30;

// The whole command, with its messages. The request runs on a worker thread
// while the window goes on handling messages; after a second the progress
// dialog shows, and its Cancel ends the check without a message.
void CheckForNewVersion(long timeLimitSeconds = kVersionTimeLimitSeconds);

}  // namespace qova::app
