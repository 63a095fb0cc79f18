// Lesson-time checks shared by the screens that plan lessons.
//
// Three stateless functions: the planned hours of a class or organised module variant against the
// contact-teaching lesson times its modules require (one report for all modules), a lesson's
// lesson times against its start and end, and a lesson date against three periods. One lesson
// time ("lestijd") is 50 minutes. All amounts of the hours check are currency values, each
// intermediate result rounded to four decimals, halves to even.
#pragma once

#include <string>

#include "host/base/DateTime.h"

namespace quil {
class TQuilClientDataSet;
}  // namespace quil

namespace kavel {

//! Reloads `dataset` (a "DSPVWOGetGeplandeIngModuleVarLestijden" or
//! "DSPVWOGetGeplandeKlasLesTijden" list) with `id` as its first parameter, shows the report
//! (a plain message when every module is in order, else a warning) to the user of the session
//! whose event runs, and returns whether every module is in order. Never raises for a module in
//! error: the caller decides what it means.
bool CheckVWOLesTijden(quil::TQuilClientDataSet& dataset, int id);

//! The report text CheckVWOLesTijden shows, computed from the open dataset's records; `ok` tells
//! whether every module is in order.
std::string VWOLesTijdenReport(quil::TQuilClientDataSet& dataset, bool& ok);

//! Raises a client error when `lestijden` lesson times of 50 minutes do not fit between `van`
//! and `tot` (more than 0.1 minute over).
void CheckDuurtijdLes(double lestijden, quil::TDateTime van, quil::TDateTime tot);

//! True when `datum` lies within all three periods, bounds included.
bool CheckDatumsLesmomenten(quil::TDateTime datum, quil::TDateTime van1, quil::TDateTime tot1,
                            quil::TDateTime van2, quil::TDateTime tot2, quil::TDateTime van3,
                            quil::TDateTime tot3);

}  // namespace kavel
