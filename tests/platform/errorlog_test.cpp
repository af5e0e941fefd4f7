// The append-only error log of batch work.
#include "platform/ErrorLog.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/File.h"
#include "platform/Paths.h"
#include "tests/support/TempHome.h"

namespace {

class ErrorLogTest : public qova::test::TempHomeTest {};

TEST_F(ErrorLogTest, AppendsOneLinePerCallUnderTheDriveRoot) {
  EXPECT_TRUE(platform::AppendErrorLog("S01 non-self analysis failed"));
  EXPECT_TRUE(platform::AppendErrorLog("S02\tcombine failed"));
  std::string text;
  ASSERT_TRUE(platform::ReadWholeFile(Path("errorlog.txt"), text));
  EXPECT_EQ(text, "S01 non-self analysis failed\nS02\tcombine failed\n");
}

TEST_F(ErrorLogTest, CreatesAMissingDriveRoot) {
  std::string drive = Path("fresh/drive");
  setenv("QOVA_HOME", drive.c_str(), 1);
  EXPECT_TRUE(platform::AppendErrorLog("first"));
  std::string text;
  ASSERT_TRUE(platform::ReadWholeFile(drive + "/errorlog.txt", text));
  EXPECT_EQ(text, "first\n");
}

TEST_F(ErrorLogTest, UnwritableLogIsReportedWithWhy) {
  ASSERT_TRUE(platform::WriteWholeFile(Path("plainfile"), "x"));
  ASSERT_TRUE(platform::CreateFolders(Path("taken/errorlog.txt/")));
  const struct {
    const char* drive;
    std::string why;
  } cases[] = {
      {"plainfile", "the folder " + Path("plainfile/") + " cannot be created"},
      {"taken", "Access to " + Path("taken/errorlog.txt") + " was denied."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive);
    setenv("QOVA_HOME", Path(c.drive).c_str(), 1);
    std::string why;
    EXPECT_FALSE(platform::AppendErrorLog("lost", &why));
    EXPECT_EQ(why, c.why);
    EXPECT_FALSE(platform::AppendErrorLog("lost"));
  }
}

}  // namespace
