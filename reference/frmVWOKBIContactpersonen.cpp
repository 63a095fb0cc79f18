#include "reference/frmVWOKBIContactpersonen.h"

#include "core/ModuleClasses.h"
#include "host/base/ScopeExit.h"
#include "host/domain/AdminPrefs.h"
#include "host/domain/TextChecks.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/SearchPersoneelDialog.h"

namespace kavel {

using namespace quil;

namespace {

constexpr int kNietMeerActief = 0;  //!< bit of KBCP_FLAGS
constexpr int kZoekInDienst = 0;    //!< staff search: employed on the work date
constexpr int kNieuwInvoegen = 1;
constexpr int kVervangen = 2;

struct ContactField {
  const char* name;
  FieldType type;
  const char* label;
  bool visible;
  bool required;
};

// The fields of the list as the screen shows them; sizes come from the server.
constexpr ContactField kFields[] = {
    {"KBCP_ID", FieldType::Integer, "ID", false, true},
    {"KBCP_INSTELLING_FK", FieldType::Integer, "Instelling", false, false},
    {"KBCP_NAAM", FieldType::String, "Naam", true, true},
    {"KBCP_VOORNAAM", FieldType::String, "Voornaam", true, true},
    {"KBCP_INSZ", FieldType::String, "INSZ", true, true},
    {"KBCP_TELEFOON", FieldType::String, "Telefoon", true, true},
    {"KBCP_EMAIL", FieldType::String, "Email", true, true},
    {"KBCP_FLAGS", FieldType::Integer, "Flags", false, true},
    {"KBCP_PERSONEEL_FK", FieldType::Integer, "Personeelslid", false, false},
    {"KBCP_VERANDERDDOOR", FieldType::Integer, "Veranderd door", false, true},
    {"KBCP_VERANDERDOP", FieldType::DateTime, "Veranderd op", false, true},
};

TQuilClientDataSet& DefineContactpersonen(TQuilClientDataSet& cds) {
  cds.IDField = "KBCP_ID";
  cds.ParamToFields = "IS_ID=KBCP_INSTELLING_FK";
  cds.ChangedByField = "KBCP_VERANDERDDOOR";
  cds.ChangedOnField = "KBCP_VERANDERDOP";
  cds.AutoOpen = true;
  for (const ContactField& def : kFields) {
    TField& field = cds.AddField(FieldDef{def.name, def.type}, FieldKind::Data);
    field.DisplayLabel = def.label;
    field.Visible = def.visible;
    field.Required = def.required;
  }
  TField& nietMeerActief = cds.AddBitField("KBCP_NIETMEERACTIEF", "KBCP_FLAGS", kNietMeerActief);
  nietMeerActief.DisplayLabel = "Niet meer actief";
  nietMeerActief.Visible = false;
  return cds;
}

TDBEdit& Editor(TQuilForm& form, const char* name, TControl& parent, TDataSource& source,
                const char* field, const char* caption) {
  return BindField(form.Add<TDBEdit>(name, &parent), source, field, caption);
}

}  // namespace

TVWOKBIContactpersonenForm::TVWOKBIContactpersonenForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOKBIContactpersonenForm"),
      CDSKBIContactpersonen(
          DefineContactpersonen(AddDataSet("CDSKBIContactpersonen", "DSPKBIContactperoon"))),
      DSKBIContactpersonen(AddDataSource("DSKBIContactpersonen", &CDSKBIContactpersonen)),
      ASearchPS(AddAction(
          "ASearchPS", "Personeel zoeken", [this] { ASearchPSExecute(); },
          [this] { ASearchPSUpdate(); })),
      PLijst(Add<TPanel>("PLijst")),
      GridContactpersonen(Add<TDBGrid>("GridContactpersonen", &PLijst)),
      GBContactpersoon(Add<TGroupBox>("GBContactpersoon")),
      DBENaam(
          Editor(*this, "DBENaam", GBContactpersoon, DSKBIContactpersonen, "KBCP_NAAM", "Naam")),
      DBEVoornaam(Editor(*this, "DBEVoornaam", GBContactpersoon, DSKBIContactpersonen,
                         "KBCP_VOORNAAM", "Voornaam")),
      DBEINSZ(
          Editor(*this, "DBEINSZ", GBContactpersoon, DSKBIContactpersonen, "KBCP_INSZ", "INSZ")),
      DBETelefoon(Editor(*this, "DBETelefoon", GBContactpersoon, DSKBIContactpersonen,
                         "KBCP_TELEFOON", "Telefoon")),
      DBEEmail(
          Editor(*this, "DBEEmail", GBContactpersoon, DSKBIContactpersonen, "KBCP_EMAIL", "Email")),
      DBCBNietMeerActief(Add<TDBCheckBox>("DBCBNietMeerActief", &GBContactpersoon)),
      BSearchPS(Add<TButton>("BSearchPS", &GBContactpersoon)) {
  ASearchPS.Hint = "Een personeelslid van de instelling opzoeken en overnemen";
  GridContactpersonen.DataSource = &DSKBIContactpersonen;
  GridContactpersonen.Columns = {
      {"KBCP_NAAM", "Naam"},         {"KBCP_VOORNAAM", "Voornaam"}, {"KBCP_INSZ", "INSZ"},
      {"KBCP_TELEFOON", "Telefoon"}, {"KBCP_EMAIL", "Email"},
  };
  GBContactpersoon.Caption = "Contactpersoon";
  BindField(DBCBNietMeerActief, DSKBIContactpersonen, "KBCP_NIETMEERACTIEF", "Niet meer actief");
  BSearchPS.Action = &ASearchPS;

  CDSKBIContactpersonen.OnNewRecord = [this](TQuilClientDataSet&) { NewRecord(); };
  CDSKBIContactpersonen.AfterScroll = [this](TQuilClientDataSet&) { ApplyEditability(); };
  CDSKBIContactpersonen.AfterPost = [this](TQuilClientDataSet&) { ApplyEditability(); };
  CDSKBIContactpersonen.FieldByName("KBCP_EMAIL").OnValidate = [this](TField& field) {
    CheckEmailField(field);
  };
}

void TVWOKBIContactpersonenForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  RequireMasterField("IS_ID");
  LinkToMaster(CDSKBIContactpersonen);
}

// ------------------------------------------------------------------------------ staff search

void TVWOKBIContactpersonenForm::ASearchPSUpdate() {
  const TQuilClientDataSet& cds = CDSKBIContactpersonen;
  const bool editing = cds.State() == DataSetState::Edit || cds.State() == DataSetState::Insert;
  ASearchPS.Enabled = cds.Active() && !IsReadOnly() && (!cds.IsEmpty() || editing);
}

void TVWOKBIContactpersonenForm::ASearchPSExecute() {
  TQuilClientDataSet& cds = CDSKBIContactpersonen;
  bool insert = false;
  if (cds.State() != DataSetState::Insert) {
    insert = QuestionDlg("", "Huidge persoon vervangen of nieuwe invoegen?", mtConfirmation,
                         {{kNieuwInvoegen, "Nieuwe invoegen"}, {kVervangen, "Vervangen"}},
                         kNieuwInvoegen) == kNieuwInvoegen;
  }

  TField& personeel = cds.FieldByName("KBCP_PERSONEEL_FK");
  TSearchPersoneelDialog dialog(Application(), kZoekInDienst, cds.ParamByName("IS_ID").AsInteger(),
                                personeel.IsNull() ? -1 : personeel.AsInteger(),
                                AdminPrefs().WerkDatum(), GetConnection());
  dialog.SetHideSearchIM(true);
  if (dialog.ShowModal() != mrOk || dialog.GetPSID() <= 0) return;

  // However the takeover ends, the name fields follow the staff link again.
  ScopeExit atEnd([this] { ApplyEditability(); });
  SetNameFieldsEditable(true);
  if (insert) {
    if (!AllowInsert(cds)) Abort();
    cds.Insert();
  } else {
    StartEdit(cds);
  }
  personeel.SetAsInteger(dialog.GetPSID());
  cds.FieldByName("KBCP_NAAM").SetAsString(dialog.GetNaam());
  cds.FieldByName("KBCP_VOORNAAM").SetAsString(dialog.GetVoornaam());
  cds.FieldByName("KBCP_INSZ").SetAsString(dialog.GetINSZ());
  cds.FieldByName("KBCP_EMAIL").SetAsString(dialog.GetEmail());
}

// ------------------------------------------------------------------------- record rules

void TVWOKBIContactpersonenForm::ApplyEditability() {
  const TField* personeel = CDSKBIContactpersonen.FindField("KBCP_PERSONEEL_FK");
  const bool typedIn =
      !CDSKBIContactpersonen.Active() || personeel == nullptr || personeel->IsNull();
  SetNameFieldsEditable(typedIn);
}

void TVWOKBIContactpersonenForm::SetNameFieldsEditable(bool editable) {
  for (TDBEdit* edit : {&DBENaam, &DBEVoornaam, &DBEINSZ}) {
    if (TField* field = CDSKBIContactpersonen.FindField(edit->DataField)) {
      field->ReadOnly = !editable;
    }
    edit->Enabled = editable;
  }
}

void TVWOKBIContactpersonenForm::NewRecord() {
  CDSKBIContactpersonen.FieldByName("KBCP_FLAGS").SetAsInteger(0);
}

void TVWOKBIContactpersonenForm::CheckEmailField(TField& field) {
  if (field.IsNull()) return;
  const std::string message = CheckEmail(field.AsString());
  if (message.empty()) return;
  SetFocus(DBEEmail);
  RaiseClientError(message);
}

namespace frmVWOKBIContactpersonen {

void Initialization() {
  RegisterScreenClass("TVWOKBIContactpersonenForm", FactoryOf<TVWOKBIContactpersonenForm>());
}

}  // namespace frmVWOKBIContactpersonen

}  // namespace kavel
