// The lesson moment record (table VWOLES) and the lesson-time arithmetic of the planning dialogs.
//
// One record is one lesson of one organised module variant on one date. Its VWL_FLAGS bits are
// also shown as boolean fields; the lesson list of a class names two of them differently from the
// list of one module variant. One lesson time ("lestijd") is 50 minutes.
#pragma once

#include <string>
#include <string_view>

#include "host/base/DateTime.h"

namespace quil {
class TQuilClientDataSet;
}

namespace kavel {

//! Bits of VWL_FLAGS.
enum VWOLesFlag : int {
  kVWLBuitenschools = 0,          //!< out-of-school activity: no lesson place, no room
  kVWLVervalt = 1,                //!< the lesson does not take place
  kVWLGeenStandaardLes = 2,       //!< not a standard lesson
  kVWLAfstandsLesmoment = 3,      //!< distance-learning moment
  kVWLVervaltVoorEducVerlof = 4,  //!< does not take place for educational leave
};

//! Which lesson list the record is shown in: the boolean fields of bits 2 and 4 are named
//! differently in the list of a class.
enum class VWOLesList { ModuleVariant, Klas };

//! Adds the five boolean fields over VWL_FLAGS to a lesson dataset (before it opens).
void AddVWOLesBitFields(quil::TQuilClientDataSet& lessons, VWOLesList list);

inline constexpr int kMinutenPerLestijd = 50;

//! Whole minutes from `van` to `tot` (negative when `tot` is earlier), times of day only.
int MinutenTussen(quil::TDateTime van, quil::TDateTime tot);
//! (minutes between start and end - pause) / 50.
double LestijdenTussen(quil::TDateTime van, quil::TDateTime tot, int pauzeMinuten);
//! Lesson times as the dialogs show them: "0.##" (at most two decimals).
std::string LestijdenText(double lestijden);
//! The end time a chosen start time proposes: two hours later.
quil::TDateTime VoorgesteldEindUur(quil::TDateTime start);

}  // namespace kavel
