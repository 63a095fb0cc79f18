#include "host/base/DateTime.h"

#include <gtest/gtest.h>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"

namespace quil {
namespace {

TEST(DateTimeTest, DayNumbersAndCalendar) {
  EXPECT_EQ(EncodeDate(1899, 12, 30).value, 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1).value, 2);
  EXPECT_EQ(EncodeDate(2025, 9, 1).value, 45901);
  EXPECT_EQ(EncodeDate(1899, 12, 29).value, -1);
  EXPECT_EQ(DayOfTheWeek(EncodeDate(2025, 9, 1)), 1);  // a Monday
  EXPECT_EQ(DayOfTheWeek(EncodeDate(2025, 9, 7)), 7);
  EXPECT_EQ(DayOfTheWeek(EncodeDate(1899, 12, 24)), 7);
  TDateTime ignored;
  EXPECT_FALSE(TryEncodeDate(2025, 2, 29, ignored));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, ignored));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, ignored));
  EXPECT_THROW(EncodeDate(2025, 13, 1), EClientError);
  EXPECT_THROW(EncodeTime(24, 0), EClientError);
  for (int day = -800; day < 200000; day += 37) {
    int y, m, d;
    DecodeDate(TDateTime(day), y, m, d);
    ASSERT_EQ(EncodeDate(y, m, d).value, day);
  }
}

TEST(DateTimeTest, MonthsAndYearsClampToTheLastDay) {
  struct Case {
    TDateTime actual;
    TDateTime expected;
  } cases[] = {
      {IncMonth(EncodeDate(2025, 1, 31)), EncodeDate(2025, 2, 28)},
      {IncMonth(EncodeDate(2024, 1, 31)), EncodeDate(2024, 2, 29)},
      {IncMonth(EncodeDate(2025, 11, 30), 3), EncodeDate(2026, 2, 28)},
      {IncMonth(EncodeDate(2025, 1, 15), -2), EncodeDate(2024, 11, 15)},
      {IncYear(EncodeDate(2024, 2, 29)), EncodeDate(2025, 2, 28)},
      {IncMonth(EncodeDate(2025, 1, 31) + 0.75), EncodeDate(2025, 2, 28) + 0.75},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << DateTimeToStr(c.actual);
}

TEST(DateTimeTest, TimesRoundToTheMillisecond) {
  int h, n, s, ms;
  DecodeTime(EncodeTime(18, 0) + 1e-12, h, n, s, ms);
  EXPECT_EQ(std::vector<int>({h, n, s, ms}), std::vector<int>({18, 0, 0, 0}));
  TDateTime almostMidnight(45900.9999999999);
  EXPECT_EQ(DateOf(almostMidnight).value, 45901);
  EXPECT_EQ(TimeOf(almostMidnight).value, 0);
  EXPECT_DOUBLE_EQ(MinutesBetween(EncodeTime(18, 0), EncodeTime(20, 30)), 150);
  EXPECT_DOUBLE_EQ(MinutesBetween(EncodeTime(20, 30), EncodeTime(18, 0)), -150);
  // Before day 0 the time of day is stored after a negative date part.
  EXPECT_DOUBLE_EQ(MinutesBetween(TDateTime(-1.25), TDateTime(0)), 1080);
}

TEST(DateTimeTest, FormatDateTimeTokens) {
  TDateTime moment = EncodeDate(2025, 3, 4) + EncodeTime(8, 5, 9, 7).value;
  FormatSettings dashes;
  dashes.DateSeparator = '-';
  dashes.TimeSeparator = '.';
  struct Case {
    const char* pattern;
    const char* expected;
    const FormatSettings& fs = DefaultFormatSettings();
  } cases[] = {
      {"dd/mm/yyyy", "04/03/2025"},
      {"dd/mm/yyy", "04/03/2025"},
      {"d/m/yy", "4/3/25"},
      {"hh:nn", "08:05"},
      {"hh:mm:ss", "08:05:09"},
      {"h:m", "8:5"},
      {"mm", "03"},
      {"hh 'uur' mm", "08 uur 05"},
      {"hh:nn:ss.zzz", "08:05:09.007"},
      {"dddd d mmmm yyyy", "dinsdag 4 maart 2025"},
      {"ddd d mmm", "di 4 mrt"},
      {"DD/MM/YYYY", "04/03/2025"},
      {"\"dag\" d", "dag 4"},
      {"dd/mm/yyyy hh:nn", "04-03-2025 08.05", dashes},
      {"c", "04/03/2025 08:05:09"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, moment, c.fs), c.expected);
  const char* days[] = {"maandag", "dinsdag",  "woensdag", "donderdag",
                        "vrijdag", "zaterdag", "zondag"};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(FormatDateTime("dddd", EncodeDate(2025, 9, 1 + i)), days[i]);
  EXPECT_EQ(FormatDateTime("mmm mmmm", EncodeDate(2025, 10, 1)), "okt oktober");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2025, 3, 4)), "04/03/2025");
  EXPECT_EQ(DateToStr(TDateTime()), "30/12/1899");
}

}  // namespace
}  // namespace quil
