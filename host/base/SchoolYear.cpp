#include "host/base/SchoolYear.h"

namespace quil {
namespace {

constexpr int kFirstMonth = 9;  // September

}  // namespace

int GetSchooljaarFrom(TDateTime date) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  return month >= kFirstMonth ? year : year - 1;
}

TDateTime GetSchooljaarStartFrom(TDateTime date) {
  return EncodeDate(GetSchooljaarFrom(date), kFirstMonth, 1);
}

TDateTime GetSchooljaarEndFrom(TDateTime date) {
  return EncodeDate(GetSchooljaarFrom(date) + 1, 8, 31);
}

TDateTime GetSchooljaarEndExtFrom(TDateTime date) {
  return EncodeDate(GetSchooljaarFrom(date) + 1, 9, 30);
}

int GetTrimester(TDateTime date) {
  int month = MonthOf(date);
  if (month >= kFirstMonth) return 1;
  return month <= 3 ? 2 : 3;
}

int GetTrimester(bool linear, TDateTime start, TDateTime date) {
  if (!linear) return GetTrimester(date);
  start = DateOf(start);
  date = DateOf(date);
  if (date < start) return 1;
  int startYear, startMonth, startDay, year, month, day;
  DecodeDate(start, startYear, startMonth, startDay);
  DecodeDate(date, year, month, day);
  // Each period starts on IncMonth(start, 3 * k), counted from `start` itself so that a start on
  // the 31st does not drift to the 28th after February.
  int periods = ((year - startYear) * 12 + (month - startMonth)) / 3;
  while (periods > 0 && IncMonth(start, 3 * periods) > date) --periods;
  return 1 + periods;
}

}  // namespace quil
