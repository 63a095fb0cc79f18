#include "planning/frmVWOKlasLesmomentUitRecept.h"

#include "core/ModuleClasses.h"
#include "host/base/SysUtils.h"
#include "host/domain/LesRecept.h"
#include "planning/dlgVWOLesmomentUitRecept.h"

namespace kavel {

using namespace quil;

namespace {

constexpr int kJobLesmomentenUitRecept = 313;
constexpr const char* kGeenRecept = "Geen recept gekozen";
constexpr const char* kRecept = "Recept met %d lesmomenten, van %s tot %s";

}  // namespace

TVWOKlasLesMomentenUitReceptForm::TVWOKlasLesMomentenUitReceptForm(TQuilApplication& app)
    : TVWOKlasJobExecutorForm(app, "TVWOKlasLesMomentenUitReceptForm"),
      LRecept(Add<TLabel>("LRecept", &PnlOpties)),
      ARecept(AddAction(
          "ARecept", "&Recept...", [this] { AReceptExecute(); },
          [this] { ARecept.Enabled = Selectie.ListOpen(); })) {
  Add<TButton>("BRecept", &Selectie.PnlKnoppen).Action = &ARecept;
  ShowRecept(0);
}

std::unique_ptr<TVWOLesUitReceptDialoog> TVWOKlasLesMomentenUitReceptForm::NewReceptDialog() {
  auto dialog = std::make_unique<TVWOLesUitReceptDialoog>(*this);
  dialog->DoelID = -1;
  dialog->StandaardLesgever = -1;
  dialog->StandaardLokaal = -1;
  dialog->StandaardLesplaats = -1;
  dialog->Uitstellen = true;
  dialog->MiddelenVerplicht = false;
  dialog->SetDatum(1, EdtVan.Date());
  dialog->SetDatum(2, EdtTot.Date());
  return dialog;
}

void TVWOKlasLesMomentenUitReceptForm::AReceptExecute() {
  std::unique_ptr<TVWOLesUitReceptDialoog> dialog =
      CreateDeclaredDialog<TVWOLesUitReceptDialoog>(*this, "TVWOLesUitReceptDialoog");
  if (dialog->ShowModal() == mrOk) {
    receptTekst_ = LesmomentAsString(dialog->Recept());
    opties_ = dialog->GetOpties();
    periodeVan_ = dialog->GetDatum(1);
    periodeTot_ = dialog->GetDatum(2);
    ShowRecept(dialog->Recept().Count());
  } else {
    DoClearRecept();
  }
}

void TVWOKlasLesMomentenUitReceptForm::DoClearRecept() {
  receptTekst_.clear();
  opties_ = 0;
  periodeVan_ = TDateTime();
  periodeTot_ = TDateTime();
  ShowRecept(0);
}

void TVWOKlasLesMomentenUitReceptForm::ShowRecept(int rows) {
  LRecept.Caption = receptTekst_.empty()
                        ? kGeenRecept
                        : Format(kRecept, rows, FormatDateTime("dd/mm/yyyy", periodeVan_),
                                 FormatDateTime("dd/mm/yyyy", periodeTot_));
}

int TVWOKlasLesMomentenUitReceptForm::GetJobtype() {
  return kJobLesmomentenUitRecept;
}

JobData TVWOKlasLesMomentenUitReceptForm::MakeJobData() {
  return JobData{{Variant(KlasID()), Variant(std::string()), Variant(opties_), Variant(periodeVan_),
                  Variant(periodeTot_), Variant(receptTekst_)}};
}

bool TVWOKlasLesMomentenUitReceptForm::AllowExecute() {
  return !receptTekst_.empty();
}

void TVWOKlasLesMomentenUitReceptForm::DoClear() {
  TVWOKlasJobExecutorForm::DoClear();
  DoClearRecept();
}

}  // namespace kavel

namespace kavel::frmVWOKlasLesmomentUitRecept {

void Initialization() {
  RegisterScreenClass("TVWOKlasLesMomentenUitReceptForm",
                      FactoryOf<TVWOKlasLesMomentenUitReceptForm>());
  RegisterDialogClass(
      "TVWOLesUitReceptDialoog", "TVWOKlasLesMomentenUitReceptForm",
      [](TQuilDBForm& opener) -> std::unique_ptr<TQuilForm> {
        return dynamic_cast<TVWOKlasLesMomentenUitReceptForm&>(opener).NewReceptDialog();
      });
}

}  // namespace kavel::frmVWOKlasLesmomentUitRecept
