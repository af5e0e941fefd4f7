#include "arrayfiles/generic/DateTime.h"

#include <ctime>

#include "platform/Strings.h"

namespace generic_io {

namespace {
std::u16string FormatUTC(const std::tm& utc, const char* pattern) {
  char buffer[100];
  std::size_t length = std::strftime(buffer, sizeof buffer, pattern, &utc);
  return platform::Widen(std::string_view(buffer, length));
}
}  // namespace

DateTime DateTime::GetCurrentDateTime() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  DateTime result;
  result.date_ = FormatUTC(utc, "%Y-%m-%d");
  result.time_ = FormatUTC(utc, "%H:%M:%S");
  return result;
}

std::u16string DateTime::ToString() {
  if (date_.empty() || time_.empty()) {
    DateTime now = GetCurrentDateTime();
    date_ = now.date_;
    time_ = now.time_;
  }
  std::u16string text = date_ + u"T" + time_;
  if (utc_) text += u"Z";
  return text;
}

}  // namespace generic_io
