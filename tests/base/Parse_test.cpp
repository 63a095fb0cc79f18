#include <gtest/gtest.h>

#include "host/base/SysUtils.h"

namespace quil {
namespace {

TEST(ParseTest, Integers) {
  struct Case {
    const char* text;
    int64_t expected;  // -99 marks text that does not parse
  } cases[] = {
      {"42", 42},
      {"  -7 ", -7},
      {"+3", 3},
      {"$1A", 26},
      {"$1a", 26},
      {"$G1", -99},
      {"$", -99},
      {"", -99},
      {"   ", -99},
      {"1 2", -99},
      {"1,5", -99},
      {"12abc", -99},
      {"-", -99},
      {"9223372036854775807", INT64_MAX},
      {"9223372036854775808", -99},
      {"-9223372036854775808", INT64_MIN},
      {"99999999999999999999999", -99},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToIntDef(c.text, -99), c.expected) << c.text;
}

TEST(ParseTest, FloatsAndCurrencies) {
  struct Case {
    const char* text;
    bool ok;
    double value;
    int64_t raw;
  } cases[] = {
      {"2,5", true, 2.5, 25000},
      {" -36,79 ", true, -36.79, -367900},
      {"1,23455", true, 1.23455, 12346},
      {"1,23445", true, 1.23445, 12344},
      {"1e3", true, 1000, 10000000},
      {"2.5", false, 0, 0},
      {"1,2,3", false, 0, 0},
      {"1.000,5", false, 0, 0},
      {"", false, 0, 0},
      {" ", false, 0, 0},
      {",", false, 0, 0},
      {"abc", false, 0, 0},
      {"1e", false, 0, 0},
      {"1e999999999999", false, 0, 0},
      {"1e400", false, 0, 0},
      {"99999999999999999999", true, 1e20, 0},
  };
  for (const Case& c : cases) {
    double value = -1;
    EXPECT_EQ(TryStrToFloat(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
    Currency currency;
    bool currencyOk = c.ok && c.raw != 0;
    EXPECT_EQ(TryStrToCurr(c.text, currency), currencyOk) << c.text;
    if (currencyOk) {
      EXPECT_EQ(currency.Raw(), c.raw) << c.text;
    }
  }
  EXPECT_EQ(StrToCurrDef("junk", Currency(7)), Currency(7));
  EXPECT_EQ(StrToFloatDef("junk", 7.5), 7.5);
}

TEST(ParseTest, DatesAndTimes) {
  struct Case {
    const char* text;
    double expected;  // -1 marks text that does not parse
  } cases[] = {
      {"01/09/2025", 45901},
      {" 1/9/2025 ", 45901},
      {"01/09/25", 45901},
      {"01/09/75", EncodeDate(1975, 9, 1).value},
      {"29/02/2024", EncodeDate(2024, 2, 29).value},
      {"31/02/2025", -1},
      {"29/02/2025", -1},
      {"00/01/2025", -1},
      {"01/13/2025", -1},
      {"2025-09-01", -1},
      {"1/9/2025/1", -1},
      {"a/b/c", -1},
      {"", -1},
      {"//", -1},
      {"01/09/99999", -1},
  };
  for (const Case& c : cases) {
    TDateTime date(-1);
    TryStrToDate(c.text, date);
    EXPECT_EQ(date.value, c.expected) << c.text;
  }

  struct TimeCase {
    const char* text;
    double minutes;  // -1 marks text that does not parse
  } times[] = {
      {"18:00", 1080}, {"08:30:30", 510.5}, {" 0:00 ", 0}, {"23:59", 1439},
      {"24:00", -1},   {"12:60", -1},       {"12", -1},    {"", -1},
      {"1:2:3:4", -1}, {"ab:cd", -1},       {"-1:00", -1},
  };
  for (const TimeCase& c : times) {
    TDateTime time(-1);
    bool ok = TryStrToTime(c.text, time);
    EXPECT_EQ(ok ? MinutesBetween(TDateTime(), time) : -1, c.minutes) << c.text;
  }

  TDateTime moment;
  ASSERT_TRUE(TryStrToDateTime("01/09/2025 18:30", moment));
  EXPECT_EQ(DateTimeToStr(moment), "01/09/2025 18:30:00");
  EXPECT_FALSE(TryStrToDateTime("01/09/2025 24:00", moment));
}

TEST(ParseTest, DateOrderFollowsTheShortDateFormat) {
  FormatSettings iso;
  iso.ShortDateFormat = "yyyy-mm-dd";
  iso.DateSeparator = '-';
  TDateTime date;
  ASSERT_TRUE(TryStrToDate("2025-09-01", date, iso));
  EXPECT_EQ(date.value, 45901);
  EXPECT_EQ(DateToStr(date, iso), "2025-09-01");
}

}  // namespace
}  // namespace quil
