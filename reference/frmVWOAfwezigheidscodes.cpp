#include "reference/frmVWOAfwezigheidscodes.h"

#include <iterator>
#include <string>
#include <vector>

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"
#include "host/data/Guards.h"
#include "host/forms/AdminPrefs.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kVraagStandaardCodes =
    "Er zijn nog geen afwezigheidscodes gedefinieerd.\r\n"
    "Wilt U de standaard codes laten genereren ?";

//! Orange, stored in blue-green-red order.
constexpr TColor kOranje = 0x004080FF;

//! Bit 1 of VAC_FLAGS: the code may be filled in from a lesson post.
constexpr int kBitInvulbaarViaLeerpost = 1;

struct StandaardCode {
  const char* code;
  const char* omschrijving;
  TColor kleur;
  int flags;
  const char* participatieStatus;  //!< P_CODE in the participation statuses
};

//! The codes an institution starts with, in the order they are inserted.
constexpr StandaardCode kStandaardCodes[] = {
    {"X", "Aanwezig", clWindow, 0, "AANWEZIG"},
    {"L", "Te laat", clYellow, 0, "AANWEZIG"},
    {"A", "Afwezig", clRed, 0, "AFWEZIG"},
    {"V", "Verwittigd afwezig", kOranje, 0, "VERANTW_AFWEZIG"},
};

constexpr const char* kStatusOntbreekt =
    "De standaard codes kunnen niet gegenereerd worden.\r\n"
    "Deze statussen participatie Davinci ontbreken: %s";

void ShowList(TDBLookupCombo& combo, TDataSource& list) {
  OfferList(combo, list, "P_ID", "P_OMSCHRIJVING");
}

}  // namespace

TVWOAfwezigheidsCodesForm::TVWOAfwezigheidsCodesForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOAfwezigheidsCodesForm"),
      CDSParticipatieStatus(AddDataSet<TVWOParamsClientDataset>("CDSParticipatieStatus")),
      CDSParticipatieStatusBev(AddDataSet<TVWOParamsClientDataset>("CDSParticipatieStatusBev")),
      CDSVWOAfwezigheidsCodes(AddDataSet("CDSVWOAfwezigheidsCodes", "DSPVWOAfwezigheidsCodes")),
      DSParticipatieStatus(AddDataSource("DSParticipatieStatus", &CDSParticipatieStatus)),
      DSParticipatieStatusBev(AddDataSource("DSParticipatieStatusBev", &CDSParticipatieStatusBev)),
      DSAfwezigheidscodes(AddDataSource("DSAfwezigheidscodes", &CDSVWOAfwezigheidsCodes)),
      GridAfwezigheidscodes(Add<TDBGrid>("GridAfwezigheidscodes")),
      PnlDetail(Add<TPanel>("PnlDetail")),
      EdtCode(Add<TDBEdit>("EdtCode", &PnlDetail)),
      EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving", &PnlDetail)),
      BtnKleur(Add<TColorButton>("BtnKleur", &PnlDetail)),
      LCParticipatieStatus(Add<TDBLookupCombo>("LCParticipatieStatus", &PnlDetail)),
      LCParticipatieStatusBev(Add<TDBLookupCombo>("LCParticipatieStatusBev", &PnlDetail)),
      CBInvulbaarViaLeerpost(Add<TDBCheckBox>("CBInvulbaarViaLeerpost", &PnlDetail)) {
  CDSParticipatieStatus.SetParamType("VWPA");
  CDSParticipatieStatusBev.SetParamType("VWPA");

  TQuilClientDataSet& codes = CDSVWOAfwezigheidsCodes;
  codes.IDField = "VAC_ID";
  codes.ParamToFields = "IS_ID=VAC_INSTELLING_FK";
  codes.ChangedByField = "VAC_VERANDERDDOOR";
  codes.ChangedOnField = "VAC_VERANDERDOP";
  codes.OrderField = "VAC_CODE";
  codes.SetSortFields("VAC_CODE");
  DeclareFields(
      codes, {DataField("VAC_CODE", "Eigen code"), DataField("VAC_OMSCHRIJVING", "Omschrijving"),
              DataField("VAC_KLEUR", "Kleur"),
              DataField("VAC_PARTICIPATIESTATUS_FK", "Status participatie Davinci"),
              DataField("VAC_PARTICIPATIESTATUSBEV_FK", "Tweede status participatie"),
              DataField("VAC_PARTICIPATIESTATUS", "Status participatie"),
              BitField("InvulbaarViaLeerpost", "Invulbaar via leerpost?", "VAC_FLAGS",
                       kBitInvulbaarViaLeerpost),
              // The server's status text is only fresh after a fetch; the list follows the editor.
              LookupField("PARTICIPATIESTATUS", "Status participatie", "VAC_PARTICIPATIESTATUS_FK",
                          CDSParticipatieStatus, "P_ID", "P_OMSCHRIJVING")});
  codes.AfterOpen = [this](TQuilClientDataSet&) { CDSVWOAfwezigheidsCodesAfterOpen(); };
  codes.OnNewRecord = [this](TQuilClientDataSet&) { CDSVWOAfwezigheidsCodesNewRecord(); };
  codes.AfterScroll = [this](TQuilClientDataSet&) { CDSVWOAfwezigheidsCodesAfterScroll(); };

  GridAfwezigheidscodes.DataSource = &DSAfwezigheidscodes;
  GridAfwezigheidscodes.Columns = {{"VAC_CODE", "Code", 5},
                                   {"VAC_OMSCHRIJVING", "", 40},
                                   {"VAC_KLEUR", "", 8},
                                   {"PARTICIPATIESTATUS", "", 30},
                                   {"InvulbaarViaLeerpost", "", 8}};

  BindField(EdtCode, DSAfwezigheidscodes, "VAC_CODE", "&Eigen code");
  BindField(EdtOmschrijving, DSAfwezigheidscodes, "VAC_OMSCHRIJVING");
  BtnKleur.Caption = "Kleur";
  BtnKleur.OnChange = [this] { BtnKleurChange(); };
  BindField(LCParticipatieStatus, DSAfwezigheidscodes, "VAC_PARTICIPATIESTATUS_FK",
            "Status &participatie Davinci");
  ShowList(LCParticipatieStatus, DSParticipatieStatus);
  BindField(LCParticipatieStatusBev, DSAfwezigheidscodes, "VAC_PARTICIPATIESTATUSBEV_FK");
  ShowList(LCParticipatieStatusBev, DSParticipatieStatusBev);
  BindField(CBInvulbaarViaLeerpost, DSAfwezigheidscodes, "InvulbaarViaLeerpost",
            "Invulbaar via leerpost");
}

void TVWOAfwezigheidsCodesForm::QuilDBFormCreate() {
  // The status is sent to Davinci.
  LCParticipatieStatus.Color = AdminPrefs().DavinciKleur();
}

void TVWOAfwezigheidsCodesForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  RequireMasterField("IS_ID");
  LinkToMaster(CDSVWOAfwezigheidsCodes);
  // The standard codes look their status up in the list, so the lists open first.
  CDSParticipatieStatus.Open();
  CDSParticipatieStatusBev.Open();
  CDSVWOAfwezigheidsCodes.Open();
}

void TVWOAfwezigheidsCodesForm::CDSVWOAfwezigheidsCodesAfterOpen() {
  TQuilClientDataSet& codes = CDSVWOAfwezigheidsCodes;
  if (!codes.IsEmpty() || codes.ParamByName("IS_ID").AsInteger() == 0) return;
  if (!AllowInsert(codes)) return;  // only offered to a user who may add codes
  if (MessageDlg(kVraagStandaardCodes, mtConfirmation, {mbYes, mbNo}) != mrYes) return;
  InsertStandaardCodes();
}

void TVWOAfwezigheidsCodesForm::InsertStandaardCodes() {
  TQuilClientDataSet& codes = CDSVWOAfwezigheidsCodes;
  // Both statuses are required: a site that lacks one of the standard statuses gets no standard
  // code at all, and is told which statuses are missing.
  std::vector<Variant> statussen;
  std::string ontbrekend;
  for (const StandaardCode& standaard : kStandaardCodes) {
    statussen.push_back(
        CDSParticipatieStatus.Lookup("P_CODE", Variant(standaard.participatieStatus), "P_ID"));
    if (statussen.back().IsNull() &&
        ontbrekend.find(standaard.participatieStatus) == std::string::npos) {
      ontbrekend += (ontbrekend.empty() ? "" : ", ") + std::string(standaard.participatieStatus);
    }
  }
  if (!ontbrekend.empty()) {
    // Refused, but the screen opens: the user sees the empty list and may add codes by hand.
    MessageDlg(Format(kStatusOntbreekt, ontbrekend), mtError, {mbOK});
    return;
  }
  {
    DisableControlsGuard controls(codes);
    BulkChangeGuard bulk(codes);
    for (size_t i = 0; i < std::size(kStandaardCodes); ++i) {
      const StandaardCode& standaard = kStandaardCodes[i];
      codes.Append();
      codes.FieldByName("VAC_CODE").SetAsString(standaard.code);
      codes.FieldByName("VAC_OMSCHRIJVING").SetAsString(standaard.omschrijving);
      codes.FieldByName("VAC_FLAGS").SetAsInteger(standaard.flags);
      codes.FieldByName("VAC_KLEUR").SetAsInteger(standaard.kleur);
      codes.FieldByName("VAC_PARTICIPATIESTATUS_FK").SetValue(statussen[i]);
      codes.FieldByName("VAC_PARTICIPATIESTATUSBEV_FK").SetValue(statussen[i]);
      codes.Post();
    }
  }
  codes.First();
}

void TVWOAfwezigheidsCodesForm::CDSVWOAfwezigheidsCodesNewRecord() {
  CDSVWOAfwezigheidsCodes.FieldByName("VAC_KLEUR").SetAsInteger(clWindow);
  CDSVWOAfwezigheidsCodes.FieldByName("VAC_FLAGS").SetAsInteger(0);
}

void TVWOAfwezigheidsCodesForm::CDSVWOAfwezigheidsCodesAfterScroll() {
  BtnKleur.SetSelectedColor(KleurVanCode());
}

void TVWOAfwezigheidsCodesForm::BtnKleurChange() {
  TQuilClientDataSet& codes = CDSVWOAfwezigheidsCodes;
  bool editing = codes.State() == DataSetState::Edit || codes.State() == DataSetState::Insert;
  if (!editing && codes.Active() && !codes.IsEmpty() && AllowEdit(codes)) {
    codes.Edit();
    editing = true;
  }
  if (editing) {
    codes.FieldByName("VAC_KLEUR").SetAsInteger(BtnKleur.SelectedColor());
  } else {
    BtnKleur.SetSelectedColor(KleurVanCode());
  }
}

TColor TVWOAfwezigheidsCodesForm::KleurVanCode() const {
  const TQuilClientDataSet& codes = CDSVWOAfwezigheidsCodes;
  if (!codes.Active() || codes.IsEmpty()) return clWindow;
  const TField& kleur = codes.FieldByName("VAC_KLEUR");
  return kleur.IsNull() ? clWindow : kleur.AsInteger();
}

namespace frmVWOAfwezigheidscodes {

void Initialization() {
  RegisterScreenClass("TVWOAfwezigheidsCodesForm", FactoryOf<TVWOAfwezigheidsCodesForm>());
}

}  // namespace frmVWOAfwezigheidscodes

}  // namespace kavel
