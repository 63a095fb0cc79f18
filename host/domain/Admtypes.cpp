#include "host/domain/Admtypes.h"

#include "host/forms/SettingsFile.h"

namespace quil {

namespace {

constexpr const char* kSection = "Periode";

}  // namespace

void SavePeriode(TSettingsFile& settings, int soort, TDateTime van, TDateTime tot) {
  settings.WriteInteger(kSection, "Soort", soort);
  settings.WriteDateTime(kSection, "Van", van);
  settings.WriteDateTime(kSection, "Tot", tot);
}

void RestorePeriode(const TSettingsFile& settings, int& soort, TDateTime& van, TDateTime& tot) {
  soort = static_cast<int>(settings.ReadInteger(kSection, "Soort", soort));
  van = settings.ReadDateTime(kSection, "Van", van);
  tot = settings.ReadDateTime(kSection, "Tot", tot);
}

}  // namespace quil
