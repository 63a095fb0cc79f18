#include "planning/frmVWOLesmomentToMemoInGroep.h"

#include "core/ModuleClasses.h"
#include "host/base/SchoolYear.h"
#include "host/base/SysUtils.h"
#include "host/forms/AdminPrefs.h"

namespace kavel {

using namespace quil;

namespace {

constexpr int kJobKlasMemo = 328;
constexpr const char* kAangemaakt = "Klasmemo gegevens voor %d klassen aangemaakt.";

}  // namespace

TVWOLesmomentenToMemoInGroepForm::TVWOLesmomentenToMemoInGroepForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOLesmomentenToMemoInGroepForm"),
      PnlSelectie(Add<TPanel>("PnlSelectie")),
      PnlKlassen(Add<TPanel>("PnlKlassen")),
      Selectie(*this, &PnlSelectie, &PnlKlassen),
      APrepare(AddAction(
          "APrepare", "O&phalen", [this] { PrepareExecute(); },
          [this] { APrepare.Enabled = Selectie.SchoolID() != -1; })),
      AExecute(AddAction(
          "AExecute", "Aanma&ken", [this] { ExecuteExecute(); },
          [this] {
            AExecute.Enabled = Selectie.HasClasses() && Selectie.TickedCount() > 0;
            Selectie.UpdateMainButton(APrepare, AExecute);
          })),
      AClear(AddAction(
          "AClear", "&Leegmaken", [this] { Selectie.Reset(); },
          [this] { AClear.Enabled = Selectie.InstellingID() != -1; })) {
  // The classes belong to the institution they were loaded for.
  Selectie.OnInstellingChange = [this] { Selectie.CloseList(); };
  Selectie.UpdateMainButton(APrepare, AExecute);
  Add<TButton>("BClear", &Selectie.PnlKnoppen).Action = &AClear;
}

void TVWOLesmomentenToMemoInGroepForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  Selectie.SetMaster(master);
}

void TVWOLesmomentenToMemoInGroepForm::PrepareExecute() {
  const TDateTime werkDatum = AdminPrefs().WerkDatum();
  Selectie.Load(GetSchooljaarStartFrom(werkDatum), GetSchooljaarEndExtFrom(werkDatum));
}

void TVWOLesmomentenToMemoInGroepForm::ExecuteExecute() {
  const std::vector<int> ids = Selectie.TickedIDs();
  Selectie.RunPerClass(ids,
                       [this](int id) { ExecuteJob(kJobKlasMemo, -1, JobData{{Variant(id)}}); });
  ShowMessage(Format(kAangemaakt, static_cast<int>(ids.size())));
}

}  // namespace kavel

namespace kavel::frmVWOLesmomentToMemoInGroep {

void Initialization() {
  RegisterScreenClass("TVWOLesmomentenToMemoInGroepForm",
                      FactoryOf<TVWOLesmomentenToMemoInGroepForm>());
}

}  // namespace kavel::frmVWOLesmomentToMemoInGroep
