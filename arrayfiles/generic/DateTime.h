#pragma once
// A date and a time of day as the texts that stamp the array-file exceptions.
#include <string>

namespace generic_io {

class DateTime {
 public:
  DateTime() = default;

  // The current date and time, broken down as UTC (never local time).
  [[nodiscard]] static DateTime GetCurrentDateTime();

  [[nodiscard]] const std::u16string& Date() const { return date_; }
  void Date(std::u16string date) { date_ = std::move(date); }
  [[nodiscard]] const std::u16string& Time() const { return time_; }
  void Time(std::u16string time) { time_ = std::move(time); }
  [[nodiscard]] bool IsUTC() const { return utc_; }
  void IsUTC(bool utc) { utc_ = utc; }

  // "2007-02-26T08:15:00Z". When either text is empty, both are first
  // replaced by the current ones, so the value itself changes.
  [[nodiscard]] std::u16string ToString();

 private:
  std::u16string date_;
  std::u16string time_;
  bool utc_ = true;
};

}  // namespace generic_io
