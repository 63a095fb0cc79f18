// The period a screen lists (a kind and, for a chosen period, its first and last day), kept in
// the user's settings of the screen: section "Periode", keys "Soort", "Van" and "Tot". The kinds
// are the screen's; the host keeps the number.
#pragma once

#include "host/base/DateTime.h"

namespace quil {

class TSettingsFile;

void SavePeriode(TSettingsFile& settings, int soort, TDateTime van, TDateTime tot);
//! Reads what SavePeriode wrote; a key that is absent or unreadable leaves its value as passed.
void RestorePeriode(const TSettingsFile& settings, int& soort, TDateTime& van, TDateTime& tot);

}  // namespace quil
