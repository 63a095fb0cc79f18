#include "planning/VWOLes.h"

#include <cmath>

#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"

namespace kavel {

void AddVWOLesBitFields(quil::TQuilClientDataSet& lessons, VWOLesList list) {
  const bool klas = list == VWOLesList::Klas;
  lessons.AddBitField("VWL_BUITENSCHOOLS", "VWL_FLAGS", kVWLBuitenschools).DisplayLabel =
      "Buitenschoolse activiteit";
  lessons.AddBitField("VWL_VERVALT", "VWL_FLAGS", kVWLVervalt).DisplayLabel = "Vervalt";
  lessons
      .AddBitField(klas ? "VWL_GEENSTANDAARDLES" : "VWL_GEENSTANDAARLES", "VWL_FLAGS",
                   kVWLGeenStandaardLes)
      .DisplayLabel = "Geen standaard les";
  lessons.AddBitField("VWL_AFSTANDSLESMOMENT", "VWL_FLAGS", kVWLAfstandsLesmoment).DisplayLabel =
      "Afstands-lesmoment";
  lessons
      .AddBitField(klas ? "VWL_VervaltVrEducVerlof" : "VWL_VervaltVoorEducVerlof", "VWL_FLAGS",
                   kVWLVervaltVoorEducVerlof)
      .DisplayLabel = "Vervalt voor Educatief Verlof";
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
