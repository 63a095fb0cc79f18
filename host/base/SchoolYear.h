// School-year and trimester arithmetic.
//
// A school year Y runs from 1 September of Y to 31 August of Y+1; the year of a date is the
// date's own year from September on and the year before otherwise. Some registrations may still
// be made in September after the year ended, hence the extended end of 30 September of Y+1.
// The time of day of a date is ignored. Pure functions, safe from any thread.
#pragma once

#include "host/base/DateTime.h"

namespace quil {

//! The school year Y a date belongs to: 31/08/2025 gives 2024, 01/09/2025 gives 2025.
int GetSchooljaarFrom(TDateTime date);
//! 1 September of the date's school year.
TDateTime GetSchooljaarStartFrom(TDateTime date);
//! 31 August of the year after the school year.
TDateTime GetSchooljaarEndFrom(TDateTime date);
//! 30 September of the year after the school year.
TDateTime GetSchooljaarEndExtFrom(TDateTime date);

//! The trimester of the school year: 1 for September to December, 2 for January to March, 3 for
//! April to August.
int GetTrimester(TDateTime date);
//! With `linear`: 1 + the number of whole periods of three calendar months from `start` to
//! `date` (exactly three months after `start` begins period 2; a date before `start` is in
//! period 1). Without it, the school trimester of `date`.
int GetTrimester(bool linear, TDateTime start, TDateTime date);

}  // namespace quil
