#include "host/forms/VWOKlasJobExecutorForm.h"

#include "host/base/SchoolYear.h"
#include "host/base/ScopeExit.h"
#include "host/base/SysUtils.h"
#include "host/forms/AdminPrefs.h"

namespace quil {

namespace {

constexpr const char* kKlaar = "De verwerking is uitgevoerd voor %d klassen.";

}  // namespace

TVWOKlasJobExecutorForm::TVWOKlasJobExecutorForm(TQuilApplication& app, std::string className)
    : TQuilDBForm(app, std::move(className)),
      PnlSelectie(Add<TPanel>("PnlSelectie")),
      EdtVan(Add<TDateEdit>("EdtVan", &PnlSelectie)),
      EdtTot(Add<TDateEdit>("EdtTot", &PnlSelectie)),
      PnlOpties(Add<TPanel>("PnlOpties")),
      PnlKlassen(Add<TPanel>("PnlKlassen")),
      Selectie(*this, &PnlSelectie, &PnlKlassen),
      APrepare(AddAction(
          "APrepare", "O&phalen", [this] { PrepareExecute(); },
          [this] {
            APrepare.Enabled = Selectie.SchoolID() != -1 && EdtVan.Date().value != 0 &&
                               EdtTot.Date() >= EdtVan.Date();
          })),
      AExecute(AddAction(
          "AExecute", "&Uitvoeren", [this] { ExecuteExecute(); },
          [this] {
            AExecute.Enabled =
                Selectie.HasClasses() && Selectie.TickedCount() > 0 && AllowExecute();
            Selectie.UpdateMainButton(APrepare, AExecute);
          })),
      AClear(AddAction(
          "AClear", "&Leegmaken", [this] { DoClear(); },
          [this] { AClear.Enabled = Selectie.InstellingID() != -1; })) {
  EdtVan.Caption = "Van";
  EdtTot.Caption = "Tot";
  const TDateTime werkDatum = AdminPrefs().WerkDatum();
  EdtVan.SetDate(GetSchooljaarStartFrom(werkDatum));
  EdtTot.SetDate(GetSchooljaarEndFrom(werkDatum));
  EdtVan.OnChange = [this] { PeriodeChange(); };
  EdtTot.OnChange = [this] { PeriodeChange(); };
  Selectie.OnInstellingChange = [this] { PeriodeChange(); };
  Selectie.UpdateMainButton(APrepare, AExecute);
  Add<TButton>("BClear", &Selectie.PnlKnoppen).Action = &AClear;
}

void TVWOKlasJobExecutorForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  Selectie.SetMaster(master);
}

void TVWOKlasJobExecutorForm::PeriodeChange() {
  // The loaded classes belong to the institution and period they were loaded for.
  Selectie.CloseList();
}

void TVWOKlasJobExecutorForm::PrepareExecute() {
  Selectie.Load(EdtVan.Date(), EdtTot.Date());
}

void TVWOKlasJobExecutorForm::ExecuteExecute() {
  const std::vector<int> ids = Selectie.TickedIDs();
  const int jobType = GetJobtype();
  const int jobId = GetJobID();
  ScopeExit done([this] { klasId_ = -1; });
  Selectie.RunPerClass(ids, [&](int id) {
    klasId_ = id;
    ExecuteJob(jobType, jobId, MakeJobData());
  });
  ShowMessage(Format(kKlaar, static_cast<int>(ids.size())));
}

void TVWOKlasJobExecutorForm::DoClear() {
  Selectie.Reset();
}

}  // namespace quil
