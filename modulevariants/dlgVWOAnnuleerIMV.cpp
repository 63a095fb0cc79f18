#include "modulevariants/dlgVWOAnnuleerIMV.h"

#include "host/base/ScopeExit.h"

namespace kavel {

using namespace quil;

namespace {

constexpr int kJobAnnuleer = 393;
//! ID_STATUSOBJECT from 3 to 5: the record is known at Davinci.
constexpr int kEersteBekend = 3;
constexpr int kLaatsteBekend = 5;

constexpr const char* kKeepHint =
    "-Alles wordt geannuleerd bij Davinci\r\n-Het vinkje klaar voor davinci wordt uitgevinkt\r\n"
    "-Het vinkje inschrijven mag op de klas wordt ook uitgevinkt.\r\n Je kan dit terug aanvinken "
    "als deze module dan terug gemeld is.";

}  // namespace

const std::array<TVWOAnnuleerIMVForm::Groep, 6> TVWOAnnuleerIMVForm::kGroepen = {{
    {"Studiebewijzen", "Studiebewijzen:", 1011, 1034},
    {"Participaties", "Participaties:", 1006, 1027},
    {"Plaatsingen HVN", "Plaatsingen Huizen van het Nederlands:", 1010, 1023},
    {"Plaatsingen", "Plaatsingen:", 1005, 1023},
    {"Lessen", "Lessen:", 1003, 1010},
    {"Ingerichte modulevariant", "Ingerichte modulevariant:", 1002, 1006},
}};

TVWOAnnuleerIMVForm::TVWOAnnuleerIMVForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOAnnuleerIMVForm"),
      CDSSelectIMVAnnulatieData(
          AddDataSet("CDSSelectIMVAnnulatieData", "DSPVWOSelectIMVAnnulatieData")),
      LblAfkorting(Add<TLabel>("LblAfkorting")),
      LblCode(Add<TLabel>("LblCode")),
      LblOmschrijving(Add<TLabel>("LblOmschrijving")),
      GBRecords(Add<TGroupBox>("GBRecords")),
      SGAantallen(Add<TStringGrid>("SGAantallen", &GBRecords)),
      GBKeuze(Add<TGroupBox>("GBKeuze")),
      CBBehouden(Add<TCheckBox>("CBBehouden", &GBKeuze)),
      CBVerwijderen(Add<TCheckBox>("CBVerwijderen", &GBKeuze)),
      PBTotaal(Add<TProgressBar>("PBTotaal")),
      PBSub(Add<TProgressBar>("PBSub")),
      AExecute(AddAction(
          "AExecute", "Start annulatie / verwijdering", [this] { Run(); },
          [this] {
            AExecute.Enabled = controlsEnabled_ && CDSSelectIMVAnnulatieData.Active() &&
                               !CDSSelectIMVAnnulatieData.IsEmpty() &&
                               (CBBehouden.Checked() || CBVerwijderen.Checked());
          })),
      BtnStart(Add<TButton>("BtnStart")),
      BtnSluiten(Add<TButton>("BtnSluiten")) {
  Caption = "VWO: Ingerichte modulevariant annuleren";
  TabCaption = "Annuleer Ingerichte modulevariant";
  CDSSelectIMVAnnulatieData.ReadOnly = true;
  CDSSelectIMVAnnulatieData.GetParams().Add("SC_ID", FieldType::Integer);
  CDSSelectIMVAnnulatieData.GetParams().Add("IMV_ID", FieldType::Integer);
  for (size_t i = 0; i < kGroepen.size(); ++i) {
    CDSGroepen[i] = &AddDataSet("CDSGroep" + std::to_string(i + 1));
  }

  LblAfkorting.Caption = "Afkorting:";
  LblCode.Caption = "Code:";
  LblOmschrijving.Caption = "Omschrijving:";
  GBRecords.Caption = "Het verwijderen van de IMV verwijdert ook onderstaande records";
  SGAantallen.SetSize(3, static_cast<int>(kGroepen.size()) + 2);
  SGAantallen.FixedRows = 1;
  SGAantallen.FixedCols = 1;
  SGAantallen.SetCell(1, 0, "Davinci");
  SGAantallen.SetCell(2, 0, "Quil");
  for (size_t i = 0; i < kGroepen.size(); ++i) {
    SGAantallen.SetCell(0, static_cast<int>(i) + 1, kGroepen[i].label);
  }
  SGAantallen.SetCell(0, static_cast<int>(kGroepen.size()) + 1,
                      "Totaal aantal te annuleren / verwijderen records:");
  GBKeuze.Caption = "Records in de Quil databank...";
  CBBehouden.Caption = "Behouden en deze worden na correcties opnieuw gemeld";
  CBBehouden.Hint = kKeepHint;
  CBVerwijderen.Caption = "Verwijderen";
  // Two choices of which at most one holds.
  CBBehouden.OnClick = [this] {
    if (CBBehouden.Checked()) CBVerwijderen.SetChecked(false);
  };
  CBVerwijderen.OnClick = [this] {
    if (CBVerwijderen.Checked()) CBBehouden.SetChecked(false);
  };
  PBTotaal.Caption = "Totale voortgang";
  PBSub.Caption = "Sub voortgang";
  PBTotaal.Visible = false;
  PBSub.Visible = false;
  BtnStart.Action = &AExecute;
  BtnSluiten.Caption = "Sluiten";
  BtnSluiten.ModalResult = mrCancel;
  BtnSluiten.Cancel = true;
}

void TVWOAnnuleerIMVForm::Init(int imvId, int scId, int isId, const std::string& afkorting,
                               const std::string& code, const std::string& omschrijving,
                               TDMQuil& dataModule) {
  // The dialog's datasets already work on the session's connection, which is `dataModule`.
  (void)dataModule;
  imvId_ = imvId;
  scId_ = scId;
  isId_ = isId;
  LblAfkorting.Caption = "Afkorting: " + afkorting;
  LblCode.Caption = "Code: " + code;
  LblOmschrijving.Caption = "Omschrijving: " + omschrijving;
  jobId_ = -1;
  LoadData();
}

void TVWOAnnuleerIMVForm::LoadData() {
  TQuilClientDataSet& data = CDSSelectIMVAnnulatieData;
  data.Close();
  data.ParamByName("IMV_ID").value = Variant(imvId_);
  data.ParamByName("SC_ID").value = Variant(scId_);
  data.Open();
  if (data.FindField("ID_STATUSOBJECT") == nullptr) {
    RaiseClientError("Interne fout: Veld statusobject niet gevonden");
  }
  int totaalDavinci = 0;
  for (size_t i = 0; i < kGroepen.size(); ++i) {
    TQuilClientDataSet& groep = *CDSGroepen[i];
    CopyDataToDataset(data, groep);
    groep.SetFilter(Format("(ID_TYPE = %d)", kGroepen[i].idType));
    groep.SetFiltered(true);
    int davinci = 0;
    for (groep.First(); !groep.Eof(); groep.Next()) {
      const int status = groep.FieldByName("ID_STATUSOBJECT").AsInteger();
      if (status >= kEersteBekend && status <= kLaatsteBekend) ++davinci;
    }
    groep.First();
    totaalDavinci += davinci;
    SGAantallen.SetCell(1, static_cast<int>(i) + 1, std::to_string(davinci));
    SGAantallen.SetCell(2, static_cast<int>(i) + 1, std::to_string(groep.RecordCount()));
  }
  const int totaal = static_cast<int>(kGroepen.size()) + 1;
  SGAantallen.SetCell(1, totaal, std::to_string(totaalDavinci));
  SGAantallen.SetCell(2, totaal, std::to_string(data.RecordCount()));
  CBBehouden.SetChecked(false);
  CBVerwijderen.SetChecked(false);
}

void TVWOAnnuleerIMVForm::Run() {
  controlsEnabled_ = false;
  CBBehouden.Enabled = false;
  CBVerwijderen.Enabled = false;
  ScopeExit done([this] {
    LoadData();
    controlsEnabled_ = true;
    CBBehouden.Enabled = true;
    CBVerwijderen.Enabled = true;
    PBTotaal.Visible = false;
    PBSub.Visible = false;
  });
  if (jobId_ == -1) jobId_ = GetConnection().GetJobID();
  PBTotaal.Min = 0;
  PBTotaal.Max = CDSSelectIMVAnnulatieData.RecordCount();
  PBTotaal.Position = 0;
  PBTotaal.Caption = "Totale voortgang";
  PBSub.Min = 0;
  PBTotaal.Visible = true;
  PBSub.Visible = true;
  const std::string mode = CBVerwijderen.Checked() ? "-" : "+";
  // The text the server keeps with every call of the run: the session's user.
  const std::string sessie = std::to_string(GetConnection().GetUserID());

  for (size_t i = 0; i < kGroepen.size(); ++i) {
    TQuilClientDataSet& groep = *CDSGroepen[i];
    PBSub.Position = 0;
    PBSub.Max = groep.RecordCount();
    PBSub.Caption = "";
    JobData data = CreateJobData({Variant(isId_), Variant(kGroepen[i].callType), Variant(sessie),
                                  Variant(int64_t{-1}), Variant(int64_t{-1}), Variant(-1),
                                  Variant("+"), Variant(mode)});
    bool eerste = true;
    for (groep.First(); !groep.Eof(); groep.Next()) {
      PBSub.StepBy(1);
      PBTotaal.StepBy(1);
      PBSub.Caption =
          Format("Verwijdering %s: record %d van %d", kGroepen[i].naam, PBSub.Position, PBSub.Max);
      PBTotaal.Caption =
          Format("Totale voortgang: record %d van %d", PBTotaal.Position, PBTotaal.Max);
      ProcessMessages();
      data.values[3] = Variant(groep.FieldByName("ID_ID").AsLargeInt());
      data.values[4] = Variant(groep.FieldByName("ID_DATA_FK").AsLargeInt());
      data.values[5] = Variant(groep.FieldByName("ID_TYPE").AsInteger());
      data.values[6] = Variant(eerste ? "+" : "-");
      eerste = false;
      ExecuteJob(kJobAnnuleer, jobId_, data);
    }
  }
}

void TVWOAnnuleerIMVForm::QuilDBFormClose(TCloseAction& action) {
  (void)action;
  CleanJob(kJobAnnuleer, jobId_, JobData{});
}

}  // namespace kavel
