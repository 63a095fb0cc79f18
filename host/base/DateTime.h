// TDateTime: a moment as days since 30/12/1899 (day 0), the fraction being the time of day.
//
// An empty date read from a dataset is day 0. The helpers follow the host's date library:
// weekdays count Monday as 1, EncodeDate/EncodeTime throw EClientError on impossible values,
// TryEncodeDate reports them instead. Date() and Now() read the local clock.
#pragma once

#include <compare>
#include <cstdint>

namespace quil {

struct TDateTime {
  double value = 0;

  constexpr TDateTime() = default;
  constexpr explicit TDateTime(double days) : value(days) {}

  constexpr TDateTime operator+(double days) const { return TDateTime(value + days); }
  constexpr TDateTime operator-(double days) const { return TDateTime(value - days); }
  constexpr double operator-(TDateTime o) const { return value - o.value; }
  TDateTime& operator+=(double days) { value += days; return *this; }
  constexpr auto operator<=>(const TDateTime&) const = default;
};

//! The number of minutes in a day and seconds in a day, for time arithmetic.
inline constexpr double kMinutesPerDay = 24.0 * 60.0;
inline constexpr double kSecondsPerDay = 24.0 * 60.0 * 60.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out);
TDateTime EncodeTime(int hour, int minute, int second = 0, int msec = 0);
//! Hours, minutes, seconds and milliseconds of the time-of-day part, rounded to the millisecond.
void DecodeTime(TDateTime time, int& hour, int& minute, int& second, int& msec);
int YearOf(TDateTime date);
int MonthOf(TDateTime date);
int DayOf(TDateTime date);
//! 1 = Monday .. 7 = Sunday.
int DayOfTheWeek(TDateTime date);
//! Same day and month `years` later; 29 February becomes 28 February in a common year.
TDateTime IncYear(TDateTime date, int years = 1);
//! Same day `months` later, clamped to the last day of the target month; the time is kept.
TDateTime IncMonth(TDateTime date, int months = 1);
TDateTime DateOf(TDateTime moment);
TDateTime TimeOf(TDateTime moment);
//! Minutes from a to b as a fraction-preserving number (b later than a gives a positive value).
double MinutesBetween(TDateTime a, TDateTime b);
//! Today at midnight, local time.
TDateTime Date();
//! The local date and time.
TDateTime Now();

}  // namespace quil
