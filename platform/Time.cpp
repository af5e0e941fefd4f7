#include "platform/Time.h"

#include <ctime>

namespace {

platform::ClockFunction g_clock = nullptr;

bool LocalParts(std::int64_t value, std::tm& parts) {
  auto t = static_cast<std::time_t>(value);
  return ::localtime_r(&t, &parts) != nullptr;
}

std::string FormatParts(const char* format, const std::tm* parts) {
  if (!format || !*format || !parts) return {};
  // strftime reports 0 both for "too small" and for an empty result; give up
  // growing once the buffer is far larger than any format could need.
  for (std::size_t size = 128; size <= 65536; size *= 4) {
    std::string out(size, '\0');
    std::size_t n = std::strftime(out.data(), out.size(), format, parts);
    if (n > 0) {
      out.resize(n);
      return out;
    }
  }
  return {};
}

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  parts.tm_isdst = -1;
  std::time_t t = std::mktime(&parts);
  time_ = t == static_cast<std::time_t>(-1) ? 0 : std::int64_t(t);
}

CTime CTime::GetCurrentTime() {
  return CTime(g_clock ? g_clock() : std::int64_t(std::time(nullptr)));
}

int CTime::GetYear() const {
  std::tm p{};
  return LocalParts(time_, p) ? p.tm_year + 1900 : 0;
}
int CTime::GetMonth() const {
  std::tm p{};
  return LocalParts(time_, p) ? p.tm_mon + 1 : 0;
}
int CTime::GetDay() const {
  std::tm p{};
  return LocalParts(time_, p) ? p.tm_mday : 0;
}
int CTime::GetHour() const {
  std::tm p{};
  return LocalParts(time_, p) ? p.tm_hour : 0;
}
int CTime::GetMinute() const {
  std::tm p{};
  return LocalParts(time_, p) ? p.tm_min : 0;
}
int CTime::GetSecond() const {
  std::tm p{};
  return LocalParts(time_, p) ? p.tm_sec : 0;
}
int CTime::GetDayOfWeek() const {
  std::tm p{};
  return LocalParts(time_, p) ? p.tm_wday + 1 : 0;
}

std::string CTime::Format(const char* format) const {
  std::tm p{};
  return LocalParts(time_, p) ? FormatParts(format, &p) : std::string();
}

std::string CTime::FormatGmt(const char* format) const {
  auto t = static_cast<std::time_t>(time_);
  std::tm p{};
  return ::gmtime_r(&t, &p) ? FormatParts(format, &p) : std::string();
}

namespace platform {
void SetClock(ClockFunction clock) { g_clock = clock; }
}  // namespace platform
