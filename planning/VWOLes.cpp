#include "planning/VWOLes.h"

#include <cmath>

#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

void AddVWOLesBitFields(quil::TQuilClientDataSet& lessons, VWOLesList list) {
  using quil::BitField;
  const bool klas = list == VWOLesList::Klas;
  quil::DeclareFields(
      lessons,
      {BitField("VWL_BUITENSCHOOLS", "Buitenschoolse activiteit", "VWL_FLAGS", kVWLBuitenschools),
       BitField("VWL_VERVALT", "Vervalt", "VWL_FLAGS", kVWLVervalt),
       BitField(klas ? "VWL_GEENSTANDAARDLES" : "VWL_GEENSTANDAARLES", "Geen standaard les",
                "VWL_FLAGS", kVWLGeenStandaardLes),
       BitField("VWL_AFSTANDSLESMOMENT", "Afstands-lesmoment", "VWL_FLAGS", kVWLAfstandsLesmoment),
       BitField(klas ? "VWL_VervaltVrEducVerlof" : "VWL_VervaltVoorEducVerlof",
                "Vervalt voor Educatief Verlof", "VWL_FLAGS", kVWLVervaltVoorEducVerlof)});
}

int MinutenTussen(quil::TDateTime van, quil::TDateTime tot) {
  // Times of day are fractions of a day; round to the minute so 18:00 - 17:10 is 50, not 49.99.
  double minutes = (quil::TimeOf(tot).value - quil::TimeOf(van).value) * quil::kMinutesPerDay;
  return static_cast<int>(std::lround(minutes));
}

double LestijdenTussen(quil::TDateTime van, quil::TDateTime tot, int pauzeMinuten) {
  return static_cast<double>(MinutenTussen(van, tot) - pauzeMinuten) / kMinutenPerLestijd;
}

std::string LestijdenText(double lestijden) {
  return quil::FormatFloat("0.##", lestijden);
}

quil::TDateTime VoorgesteldEindUur(quil::TDateTime start) {
  return quil::TimeOf(start) + 2.0 / 24.0;
}

}  // namespace kavel
