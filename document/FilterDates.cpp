#include "document/FilterDates.h"

#include "platform/Strings.h"

SYSTEMTIME StartOfDay(SYSTEMTIME date) {
  date.wHour = 0;
  date.wMinute = 0;
  date.wSecond = 0;
  date.wMilliseconds = 0;
  return date;
}

FilterDates StartingFilterDates() {
  FilterDates dates;
  GetLocalTime(&dates.To);
  dates.From = StartOfDay(dates.To);
  return dates;
}

std::string FormatFilterDate(const SYSTEMTIME& date) {
  return platform::Format("%d/ %d/ %d", date.wYear, date.wMonth, date.wDay);
}

std::int64_t FilterDateLimit(const SYSTEMTIME& date) {
  if (date.wYear < 1900) return 0;
  return CTime(date.wYear, date.wMonth, date.wDay, date.wHour, date.wMinute, date.wSecond).GetTime();
}
