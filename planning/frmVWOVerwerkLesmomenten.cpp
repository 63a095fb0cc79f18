#include "planning/frmVWOVerwerkLesmomenten.h"

#include "core/ModuleClasses.h"

namespace kavel {

using namespace quil;

namespace {

constexpr int kJobVerwerkLesmomenten = 316;

// Options of job 316 for a class.
constexpr int kTotDatum = 1 << 0;
constexpr int kAantalLestijden = 1 << 1;
constexpr int kRegistratiemoment = 1 << 2;
constexpr int kAfstandsonderwijs = 1 << 3;
constexpr int kLesdagen = 1 << 4;
//! What the job computes; the date only narrows the lesson times.
constexpr int kBerekeningen =
    kAantalLestijden | kRegistratiemoment | kAfstandsonderwijs | kLesdagen;

TCheckBox& Option(TQuilForm& form, const char* name, const char* caption, TControl& parent) {
  TCheckBox& box = form.Add<TCheckBox>(name, &parent);
  box.Caption = caption;
  return box;
}

}  // namespace

TVWOVerwerkLesmomentenForm::TVWOVerwerkLesmomentenForm(TQuilApplication& app)
    : TVWOKlasJobExecutorForm(app, "TVWOVerwerkLesmomentenForm"),
      CBTotDatum(
          Option(*this, "CBTotDatum", "Lesmomenten tot volgende datum gebruiken", PnlOpties)),
      EdtTotDatum(Add<TDateEdit>("EdtTotDatum", &PnlOpties)),
      CBAantalLestijden(Option(*this, "CBAantalLestijden", "Aantal lestijden tellen", PnlOpties)),
      CBRegistratiemoment(
          Option(*this, "CBRegistratiemoment", "Registratiemoment berekenen", PnlOpties)),
      CBAfstandsonderwijs(
          Option(*this, "CBAfstandsonderwijs", "Lestijden afstandsonderwijs berekenen", PnlOpties)),
      CBLesdagen(Option(*this, "CBLesdagen", "Lesdagen berekenen", PnlOpties)) {
  EdtTotDatum.Caption = "Datum";
  CBAfstandsonderwijs.Visible = false;
  CBAantalLestijden.OnClick = [this] { UpdateTotDatum(); };
  CBTotDatum.OnClick = [this] { UpdateTotDatum(); };
  UpdateTotDatum();
}

void TVWOVerwerkLesmomentenForm::UpdateTotDatum() {
  CBTotDatum.Enabled = CBAantalLestijden.Checked();
  EdtTotDatum.Enabled = CBTotDatum.Enabled && CBTotDatum.Checked();
}

int TVWOVerwerkLesmomentenForm::Opties() const {
  int options = 0;
  // A box that is not offered does not count, whatever it showed before.
  if (CBTotDatum.Enabled && CBTotDatum.Checked()) options |= kTotDatum;
  if (CBAantalLestijden.Checked()) options |= kAantalLestijden;
  if (CBRegistratiemoment.Checked()) options |= kRegistratiemoment;
  if (CBAfstandsonderwijs.Checked()) options |= kAfstandsonderwijs;
  if (CBLesdagen.Checked()) options |= kLesdagen;
  return options;
}

int TVWOVerwerkLesmomentenForm::GetJobtype() {
  return kJobVerwerkLesmomenten;
}

JobData TVWOVerwerkLesmomentenForm::MakeJobData() {
  return JobData{{Variant(KlasID()), Variant(0), Variant(Opties()), Variant(EdtTotDatum.Date())}};
}

bool TVWOVerwerkLesmomentenForm::AllowExecute() {
  return (Opties() & kBerekeningen) != 0 &&
         ((Opties() & kTotDatum) == 0 || EdtTotDatum.Date().value != 0);
}

}  // namespace kavel

namespace kavel::frmVWOVerwerkLesmomenten {

void Initialization() {
  RegisterScreenClass("TVWOVerwerkLesmomentenForm", FactoryOf<TVWOVerwerkLesmomentenForm>());
}

}  // namespace kavel::frmVWOVerwerkLesmomenten
