// Calendar arithmetic on day counts. Dates convert through the proleptic Gregorian day number
// (days since 1/1/1970 by the usual civil algorithm) shifted so that 30/12/1899 is day 0.
//
// A moment is first rounded to the millisecond, so 0.99999999999 is the next midnight and not
// 23:59:59.999...; the date part is the integer part toward zero and the time the absolute
// fraction, which is how negative day counts (before 1900) store a time of day.
#include "host/base/DateTime.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <string>

#include "host/base/Errors.h"

namespace quil {
namespace {

constexpr int64_t kMSecsPerDay = 24LL * 60 * 60 * 1000;
//! Civil day number of 30/12/1899 counted from 1/1/1970.
constexpr int64_t kDayZeroFromEpoch = -25569;

int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

struct Split {
  int64_t day;   //!< days since day 0
  int64_t msec;  //!< milliseconds into the day, 0 .. kMSecsPerDay - 1
};

Split SplitMoment(TDateTime moment) {
  // Beyond what any calendar here handles; clamp so that the conversion stays defined.
  double value = std::isfinite(moment.value) ? std::fmax(-1e9, std::fmin(1e9, moment.value)) : 0;
  const int64_t total = std::llround(value * kMSecsPerDay);
  return {total / kMSecsPerDay, std::llabs(total % kMSecsPerDay)};
}

//! A date plus a time of day, the time stored with the sign of the date part.
TDateTime Combine(int64_t day, int64_t msec) {
  double time = static_cast<double>(msec) / kMSecsPerDay;
  return TDateTime(day >= 0 ? day + time : day - time);
}

//! The moment on a single increasing axis (negative day counts store their time reversed).
double Linear(TDateTime moment) {
  double whole = std::trunc(moment.value);
  return moment.value >= 0 ? moment.value : whole - (moment.value - whole);
}

}  // namespace

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return false;
  out = TDateTime(static_cast<double>(DaysFromCivil(year, month, day) - kDayZeroFromEpoch));
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result;
  if (!TryEncodeDate(year, month, day, result))
    RaiseClientError("Ongeldige datum: " + std::to_string(day) + "/" + std::to_string(month) + "/" +
                     std::to_string(year));
  return result;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
  CivilFromDays(SplitMoment(date).day + kDayZeroFromEpoch, year, month, day);
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999)
    return false;
  out = TDateTime((((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMSecsPerDay);
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  TDateTime result;
  if (!TryEncodeTime(hour, minute, second, msec, result))
    RaiseClientError("Ongeldig tijdstip: " + std::to_string(hour) + ":" + std::to_string(minute) +
                     ":" + std::to_string(second));
  return result;
}

void DecodeTime(TDateTime time, int& hour, int& minute, int& second, int& msec) {
  int64_t ms = SplitMoment(time).msec;
  msec = static_cast<int>(ms % 1000);
  ms /= 1000;
  second = static_cast<int>(ms % 60);
  ms /= 60;
  minute = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

int YearOf(TDateTime date) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  return year;
}

int MonthOf(TDateTime date) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  return month;
}

int DayOf(TDateTime date) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  return day;
}

int DayOfTheWeek(TDateTime date) {
  // Day 0 (30/12/1899) was a Saturday.
  int64_t weekday = (SplitMoment(date).day + 5) % 7;
  if (weekday < 0) weekday += 7;
  return static_cast<int>(weekday) + 1;
}

TDateTime IncYear(TDateTime date, int years) {
  return IncMonth(date, years * 12);
}

TDateTime IncMonth(TDateTime date, int months) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  int64_t monthIndex = int64_t{year} * 12 + (month - 1) + months;
  int64_t newYear = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
  int newMonth = static_cast<int>(monthIndex - newYear * 12) + 1;
  if (newYear < 1 || newYear > 9999)
    RaiseClientError("Ongeldige datum: jaar " + std::to_string(newYear));
  int newDay = std::min(day, DaysInMonth(static_cast<int>(newYear), newMonth));
  return Combine(DaysFromCivil(newYear, newMonth, newDay) - kDayZeroFromEpoch,
                 SplitMoment(date).msec);
}

TDateTime DateOf(TDateTime moment) {
  return TDateTime(static_cast<double>(SplitMoment(moment).day));
}

TDateTime TimeOf(TDateTime moment) {
  return Combine(0, SplitMoment(moment).msec);
}

double MinutesBetween(TDateTime a, TDateTime b) {
  return (Linear(b) - Linear(a)) * kMinutesPerDay;
}

TDateTime Date() {
  return DateOf(Now());
}

TDateTime Now() {
  std::timespec now{};
  std::timespec_get(&now, TIME_UTC);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  TDateTime day = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  TDateTime time = EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                              static_cast<int>(now.tv_nsec / 1000000));
  return day + time.value;
}

}  // namespace quil
