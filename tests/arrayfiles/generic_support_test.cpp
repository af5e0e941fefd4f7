// String utilities, the date-time stamp and the exception family.
#include <gtest/gtest.h>

#include <cstdlib>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/DateTime.h"
#include "arrayfiles/generic/GenericExceptions.h"

namespace {

using generic_io::DateTime;
namespace ex = generic_exceptions;

bool IsStamp(const std::u16string& text) {
  // 2007-02-26T08:15:00Z
  if (text.size() != 20 || text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' ||
      text[16] != u':' || text[19] != u'Z')
    return false;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18}) {
    if (text[i] < u'0' || text[i] > u'9') return false;
  }
  return true;
}

TEST(GenericDateTimeTest, EmptyValuesFormatTheCurrentUtcTime) {
  DateTime empty;
  EXPECT_TRUE(IsStamp(empty.ToString()));
  EXPECT_FALSE(empty.Date().empty());
  EXPECT_FALSE(empty.Time().empty());

  DateTime dateOnly;
  dateOnly.Date(u"1999-12-31");
  std::u16string stamp = dateOnly.ToString();
  EXPECT_TRUE(IsStamp(stamp));
  EXPECT_NE(stamp.substr(0, 10), u"1999-12-31");

  DateTime fixed;
  fixed.Date(u"2007-02-26");
  fixed.Time(u"08:15:00");
  EXPECT_EQ(fixed.ToString(), u"2007-02-26T08:15:00Z");
  fixed.IsUTC(false);
  EXPECT_EQ(fixed.ToString(), u"2007-02-26T08:15:00");
}

TEST(GenericDateTimeTest, StampsDoNotDependOnTheLocalTimeZone) {
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "UTC", 1);
  tzset();
  std::u16string utc = DateTime::GetCurrentDateTime().ToString();
  setenv("TZ", "JST-9", 1);
  tzset();
  std::u16string tokyo = DateTime::GetCurrentDateTime().ToString();
  if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();
  // Equal unless the second turned over between the two calls.
  EXPECT_EQ(utc.substr(0, 16), tokyo.substr(0, 16));
}

TEST(GenericExceptionTest, TheFamilyIsCaughtByItsBaseAndNamedByClass) {
  auto nameOf = [](auto thrown) -> std::string {
    try {
      throw thrown;
    } catch (const ex::GenericException& e) {
      return e.what();
    }
  };
  EXPECT_EQ(nameOf(ex::InvalidFileTypeException()), "InvalidFileTypeException");
  EXPECT_EQ(nameOf(ex::InvalidVersionException()), "InvalidVersionException");
  EXPECT_EQ(nameOf(ex::FileNotFoundException()), "FileNotFoundException");
  EXPECT_EQ(nameOf(ex::FileNotOpenException()), "FileNotOpenException");
  EXPECT_EQ(nameOf(ex::DataGroupNotFoundException()), "DataGroupNotFoundException");
  EXPECT_EQ(nameOf(ex::DataSetNotFoundException()), "DataSetNotFoundException");
  EXPECT_EQ(nameOf(ex::DataSetNotOpenException()), "DataSetNotOpenException");
  EXPECT_EQ(nameOf(ex::DataSetRemapException()), "DataSetRemapException");
  EXPECT_EQ(nameOf(ex::ParameterMismatchException()), "ParameterMismatchException");
  EXPECT_EQ(nameOf(ex::UnableToOpenFileException()), "UnableToOpenFileException");
  EXPECT_EQ(nameOf(ex::ProbeSetNotFoundException()), "ProbeSetNotFoundException");
  EXPECT_EQ(nameOf(ex::CDFAccessNotSupportedByModeException()), "CDFAccessNotSupportedByModeException");
}

}  // namespace
