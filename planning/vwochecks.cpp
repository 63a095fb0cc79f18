#include "planning/vwochecks.h"

#include <cmath>

#include "host/base/Currency.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/forms/QuilApplication.h"

namespace kavel {

using quil::Currency;
using quil::Format;

namespace {

const Currency kThreshold = Currency(92);
const Currency kHundred = Currency(100);

constexpr const char* kNotCorrect = "--> Het benodigde aantal uren is niet correct.\r\n";
constexpr const char* kReached = "--> Het benodigde aantal uren is bereikt.\r\n";

}  // namespace

std::string VWOLesTijdenReport(quil::TQuilClientDataSet& dataset, bool& ok) {
  ok = true;
  if (dataset.IsEmpty()) return "Er zijn geen ingerichte modulevarianten aan de klas gekoppeld.";
  std::string report;
  quil::TField& plannedField = dataset.FieldByName("IMV_TOTAALUREN");
  quil::TField& requiredField = dataset.FieldByName("LESTIJDENCONTACTONDERWIJSORG");
  quil::TField& moduleField = dataset.FieldByName("IMV_AFKORTING");
  for (dataset.First(); !dataset.Eof(); dataset.Next()) {
    const Currency planned = plannedField.AsCurrency();
    const Currency required = Currency(requiredField.AsInteger());
    const std::string module = moduleField.AsString();
    const Currency percentage = required > Currency(0) ? planned / required * 100 : Currency(0);
    if (!report.empty()) report += "\r\n";
    if (percentage < kThreshold && required > Currency(0)) {
      report += Format(
          "*** Module %s ***\r\nEr zijn %5.2f uren ingevuld van de %5.2f.\r\nDit is %5.2f%% van "
          "het benodigde aantal, er moeten nog %5.2f uren gepland worden.\r\n",
          module, planned, required, percentage, required * 92 / 100 - planned);
      report += kNotCorrect;
      ok = false;
    } else if (percentage < kThreshold && required < Currency(0)) {
      report += Format(
          "*** Module %s ***\r\nHet aantal lestijden afstand/deliberatie/Individuele "
          "Arbeidservaring overschrijdt het benodigd aantal lestijden.\r\nEr zijn %5.2f uren te "
          "veel gepland.\r\n",
          module, planned - required);
      report += kNotCorrect;
      ok = false;
    } else if (required == Currency(0)) {
      report += Format("*** Module %s ***\r\nEr dienen geen lestijden meer ingevuld te worden\r\n",
                       module);
      report += kReached;
    } else if (percentage > kHundred) {
      report += Format(
          "*** Module %s ***\r\nEr zijn %5.2f uren ingevuld van de %5.2f.\r\nDit is %5.2f%% van "
          "het benodigde aantal, er zijn %5.2f uren te veel gepland.\r\n",
          module, planned, required, percentage, planned - required);
      report += kNotCorrect;
      ok = false;
    } else {
      report += Format(
          "*** Module %s ***\r\nEr zijn %5.2f uren ingevuld van de %5.2f.\r\nDit is %5.2f%% van "
          "het benodigde aantal.\r\n",
          module, planned, required, percentage);
      report += kReached;
    }
  }
  return report;
}

bool CheckVWOLesTijden(quil::TQuilClientDataSet& dataset, int id) {
  dataset.Close();
  if (dataset.GetParams().IsEmpty()) dataset.FetchParams();
  if (dataset.GetParams().IsEmpty()) {
    quil::RaiseClientError(Format("Dataset '%s' heeft geen parameters", dataset.Name));
  }
  dataset.GetParams()[0].SetAsInteger(id);
  dataset.Open();
  bool ok = true;
  std::string report;
  try {
    report = VWOLesTijdenReport(dataset, ok);
  } catch (...) {
    dataset.Close();
    throw;
  }
  dataset.Close();
  quil::IDialogs& dialogs = quil::TQuilApplication::Running().Dialogs();
  if (ok) {
    dialogs.ShowMessage(report);
  } else {
    dialogs.MessageDlg(report, quil::mtWarning, {quil::mbOK}, 0);
  }
  return ok;
}

void CheckDuurtijdLes(double lestijden, quil::TDateTime van, quil::TDateTime tot) {
  const double minutes = std::fabs(quil::MinutesBetween(van, tot));
  const double lesMinuten = lestijden * 50;
  if (lesMinuten - minutes > 0.1) {
    quil::RaiseClientError(
        Format("Lestijd van de les in minuten (%s)\r\nmag niet groter zijn dan minuten tussen "
               "eintijd en aanvangstijd (%s).\r\nLestijden mag maximaal %s zijn met deze "
               "aanvangstijd en eindtijd.",
               quil::FormatFloat("0.##", lesMinuten), quil::FormatFloat("0.##", minutes),
               quil::FormatFloat("0.##", minutes / 50)));
  }
}

bool CheckDatumsLesmomenten(quil::TDateTime datum, quil::TDateTime van1, quil::TDateTime tot1,
                            quil::TDateTime van2, quil::TDateTime tot2, quil::TDateTime van3,
                            quil::TDateTime tot3) {
  return van2 <= datum && datum <= tot2 && van3 <= datum && datum <= tot3 && van1 <= datum &&
         datum <= tot1;
}

}  // namespace kavel
