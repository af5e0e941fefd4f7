#pragma once
// The dates of the sample lists' date filters (extraction, the Sample
// Manager, batch analysis, Display Samples, a new association study): where a
// filter starts, how it shows a date and the moment a date limit stands for.
#include <cstdint>
#include <string>

#include "platform/Time.h"
#include "platform/ui/WinTypes.h"

// The first moment of `date`'s day: what the date picker hands back.
[[nodiscard]] SYSTEMTIME StartOfDay(SYSTEMTIME date);
// The dates the filter dialogs start with, today's by the local clock (the
// filters read dates as local time). Only the day is shown, so From starts at
// the day's first moment, as a From date picked for today would: a From
// filter of today keeps what was made today. To is the clock reading.
struct FilterDates {
  SYSTEMTIME From;
  SYSTEMTIME To;
};
[[nodiscard]] FilterDates StartingFilterDates();
// The date as the dialog shows it: "year/ month/ day".
[[nodiscard]] std::string FormatFilterDate(const SYSTEMTIME& date);
// The moment a date limit stands for (local time), or 0 for a year before 1900.
[[nodiscard]] std::int64_t FilterDateLimit(const SYSTEMTIME& date);
