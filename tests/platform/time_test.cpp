// The time value and its clock.
#include "platform/Time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>

namespace {

// Runs a test in a fixed time zone and restores the previous one.
class TimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    if (tz) saved_ = tz;
    setenv("TZ", "UTC0", 1);
    tzset();
  }
  void TearDown() override {
    if (saved_) setenv("TZ", saved_->c_str(), 1); else unsetenv("TZ");
    tzset();
    platform::SetClock(nullptr);
  }
  std::optional<std::string> saved_;
};

TEST_F(TimeTest, BreaksDownLocalTime) {
  CTime t(2006, 3, 15, 13, 45, 30);
  EXPECT_EQ(t.GetTime(), 1142430330);
  EXPECT_EQ(t.GetYear(), 2006);
  EXPECT_EQ(t.GetMonth(), 3);
  EXPECT_EQ(t.GetDay(), 15);
  EXPECT_EQ(t.GetHour(), 13);
  EXPECT_EQ(t.GetMinute(), 45);
  EXPECT_EQ(t.GetSecond(), 30);
  EXPECT_EQ(t.GetDayOfWeek(), 4);  // a Wednesday
  EXPECT_EQ(CTime(0).GetDayOfWeek(), 5);  // 1970-01-01 was a Thursday
  EXPECT_EQ(t.Format("%Y/%m/%d %H:%M:%S"), "2006/03/15 13:45:30");
  EXPECT_EQ(t.Format(""), "");
}

TEST_F(TimeTest, LocalTimeFollowsTheZoneAndGmtDoesNot) {
  setenv("TZ", "JST-9", 1);
  tzset();
  CTime t(1142430330);
  EXPECT_EQ(t.GetHour(), 22);
  EXPECT_EQ(t.Format("%H:%M"), "22:45");
  EXPECT_EQ(t.FormatGmt("%H:%M"), "13:45");
  EXPECT_EQ(CTime(2006, 3, 15, 22, 45, 30).GetTime(), 1142430330);
}

TEST_F(TimeTest, DatesAfter2038AreKept) {
  CTime t(2100, 1, 1, 0, 0, 0);
  EXPECT_EQ(t.GetTime(), 4102444800ll);
  EXPECT_EQ(t.GetYear(), 2100);
  EXPECT_EQ(t.FormatGmt("%Y-%m-%d"), "2100-01-01");
}

TEST_F(TimeTest, ArithmeticAndComparison) {
  CTime a(1000), b(1500);
  EXPECT_EQ(b - a, 500);
  EXPECT_EQ(a + 500, b);
  EXPECT_EQ(b - std::int64_t(500), a);
  EXPECT_LT(a, b);
  EXPECT_EQ(CTime().GetTime(), 0);
}

TEST_F(TimeTest, ClockCanBeReplaced) {
  platform::SetClock([]() -> std::int64_t { return 1234567890; });
  EXPECT_EQ(CTime::GetCurrentTime().GetTime(), 1234567890);
  platform::SetClock(nullptr);
  std::int64_t now = std::time(nullptr);
  EXPECT_NEAR(double(CTime::GetCurrentTime().GetTime()), double(now), 5.0);
}

}  // namespace
