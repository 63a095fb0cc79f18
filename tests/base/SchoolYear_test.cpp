#include "host/base/SchoolYear.h"

#include <gtest/gtest.h>

#include "host/base/SysUtils.h"

namespace quil {
namespace {

TDateTime D(int day, int month, int year) {
  return EncodeDate(year, month, day);
}

TEST(SchoolYearTest, BoundsAroundTheFirstOfSeptember) {
  struct Case {
    TDateTime date;
    int year;
    const char* bounds;  // start - end - extended end
  } cases[] = {
      {D(31, 8, 2025), 2024, "01/09/2024 - 31/08/2025 - 30/09/2025"},
      {D(31, 8, 2025) + 0.99, 2024, "01/09/2024 - 31/08/2025 - 30/09/2025"},
      {D(1, 9, 2025), 2025, "01/09/2025 - 31/08/2026 - 30/09/2026"},
      {D(31, 12, 2025), 2025, "01/09/2025 - 31/08/2026 - 30/09/2026"},
      {D(1, 1, 2026), 2025, "01/09/2025 - 31/08/2026 - 30/09/2026"},
      {D(29, 2, 2028), 2027, "01/09/2027 - 31/08/2028 - 30/09/2028"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetSchooljaarFrom(c.date), c.year) << DateToStr(c.date);
    EXPECT_EQ(DateToStr(GetSchooljaarStartFrom(c.date)) + " - " +
                  DateToStr(GetSchooljaarEndFrom(c.date)) + " - " +
                  DateToStr(GetSchooljaarEndExtFrom(c.date)),
              c.bounds)
        << DateToStr(c.date);
  }
}

TEST(SchoolYearTest, TrimesterOfTheSchoolYear) {
  struct Case {
    TDateTime date;
    int trimester;
  } cases[] = {
      {D(31, 8, 2025), 3}, {D(1, 9, 2025), 1}, {D(31, 12, 2025), 1}, {D(1, 1, 2026), 2},
      {D(31, 3, 2026), 2}, {D(1, 4, 2026), 3}, {D(15, 6, 2026), 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetTrimester(c.date), c.trimester) << DateToStr(c.date);
    EXPECT_EQ(GetTrimester(false, D(1, 1, 2000), c.date), c.trimester) << DateToStr(c.date);
  }
}

TEST(SchoolYearTest, LinearTrimesterCountsWholeThreeMonthPeriods) {
  struct Case {
    TDateTime start;
    TDateTime date;
    int trimester;
  } cases[] = {
      {D(15, 9, 2025), D(15, 9, 2025), 1},
      {D(15, 9, 2025), D(14, 12, 2025), 1},
      {D(15, 9, 2025), D(15, 12, 2025), 2},
      {D(15, 9, 2025), D(15, 12, 2025) + 0.5, 2},
      {D(15, 9, 2025), D(14, 3, 2026), 2},
      {D(15, 9, 2025), D(15, 3, 2026), 3},
      {D(15, 9, 2025), D(15, 9, 2026), 5},
      {D(15, 9, 2025) + 0.75, D(15, 12, 2025), 2},
      {D(15, 9, 2025), D(14, 9, 2025), 1},
      {D(15, 9, 2025), D(1, 1, 2020), 1},
      // Periods count from the start itself: 30/11 is three months after 31/08, and 31/05 is
      // nine months after it although 28/02 lies in between.
      {D(31, 8, 2025), D(29, 11, 2025), 1},
      {D(31, 8, 2025), D(30, 11, 2025), 2},
      {D(31, 8, 2025), D(28, 2, 2026), 3},
      {D(31, 8, 2025), D(30, 5, 2026), 3},
      {D(31, 8, 2025), D(31, 5, 2026), 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetTrimester(true, c.start, c.date), c.trimester)
        << DateToStr(c.start) << " to " << DateToStr(c.date);
  }
}

}  // namespace
}  // namespace quil
