#pragma once
// The framework's time value: seconds since 1970-01-01 00:00:00 UTC, broken
// down in local time unless a Gmt function is used.
#include <cstdint>
#include <string>

class CTime {
 public:
  CTime() = default;
  explicit CTime(std::int64_t time) : time_(time) {}
  // Local time; a date outside what the system can represent gives 0.
  CTime(int year, int month, int day, int hour, int minute, int second);

  // The current time, from the process clock (replaceable in tests).
  static CTime GetCurrentTime();

  [[nodiscard]] std::int64_t GetTime() const { return time_; }
  [[nodiscard]] int GetYear() const;
  [[nodiscard]] int GetMonth() const;      // 1..12
  [[nodiscard]] int GetDay() const;        // 1..31
  [[nodiscard]] int GetHour() const;
  [[nodiscard]] int GetMinute() const;
  [[nodiscard]] int GetSecond() const;
  [[nodiscard]] int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday
  // strftime codes, local time / UTC.
  [[nodiscard]] std::string Format(const char* format) const;
  [[nodiscard]] std::string FormatGmt(const char* format) const;

  friend bool operator==(CTime a, CTime b) { return a.time_ == b.time_; }
  friend auto operator<=>(CTime a, CTime b) { return a.time_ <=> b.time_; }
  CTime operator+(std::int64_t seconds) const { return CTime(time_ + seconds); }
  CTime operator-(std::int64_t seconds) const { return CTime(time_ - seconds); }
  std::int64_t operator-(CTime other) const { return time_ - other.time_; }

 private:
  std::int64_t time_ = 0;
};

namespace platform {

// The clock behind CTime::GetCurrentTime. Tests install a fixed one; nullptr
// restores the system clock.
using ClockFunction = std::int64_t (*)();
void SetClock(ClockFunction clock);

}  // namespace platform
