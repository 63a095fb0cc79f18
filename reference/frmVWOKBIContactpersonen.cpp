#include "reference/frmVWOKBIContactpersonen.h"

#include "core/ModuleClasses.h"
#include "host/base/ScopeExit.h"
#include "host/data/FieldDeclarations.h"
#include "host/domain/TextChecks.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/QuilApplication.h"

namespace kavel {

using namespace quil;

namespace {

constexpr int kNietMeerActief = 0;  //!< bit of KBCP_FLAGS
constexpr int kZoekInDienst = 0;    //!< staff search: employed on the work date
constexpr int kNieuwInvoegen = 1;
constexpr int kVervangen = 2;

TQuilClientDataSet& DefineContactpersonen(TQuilClientDataSet& cds) {
  cds.IDField = "KBCP_ID";
  cds.ParamToFields = "IS_ID=KBCP_INSTELLING_FK";
  cds.ChangedByField = "KBCP_VERANDERDDOOR";
  cds.ChangedOnField = "KBCP_VERANDERDOP";
  cds.AutoOpen = true;
  DeclareFields(
      cds,
      {DataField("KBCP_ID", "ID").Hidden().Required(),
       DataField("KBCP_INSTELLING_FK", "Instelling").Hidden(),
       DataField("KBCP_NAAM", "Naam").Required(), DataField("KBCP_VOORNAAM", "Voornaam").Required(),
       DataField("KBCP_INSZ", "INSZ").Required(), DataField("KBCP_TELEFOON", "Telefoon").Required(),
       DataField("KBCP_EMAIL", "Email").Required(),
       DataField("KBCP_FLAGS", "Flags").Hidden().Required(),
       DataField("KBCP_PERSONEEL_FK", "Personeelslid").Hidden(),
       DataField("KBCP_VERANDERDDOOR", "Veranderd door").Hidden().Required(),
       DataField("KBCP_VERANDERDOP", "Veranderd op").Hidden().Required(),
       BitField("KBCP_NIETMEERACTIEF", "Niet meer actief", "KBCP_FLAGS", kNietMeerActief)
           .Hidden()});
  return cds;
}

TDBEdit& Editor(TQuilForm& form, const char* name, TControl& parent, TDataSource& source,
                const char* field) {
  return BindField(form.Add<TDBEdit>(name, &parent), source, field);
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
      DBENaam(Editor(*this, "DBENaam", GBContactpersoon, DSKBIContactpersonen, "KBCP_NAAM")),
      DBEVoornaam(
          Editor(*this, "DBEVoornaam", GBContactpersoon, DSKBIContactpersonen, "KBCP_VOORNAAM")),
      DBEINSZ(Editor(*this, "DBEINSZ", GBContactpersoon, DSKBIContactpersonen, "KBCP_INSZ")),
      DBETelefoon(
          Editor(*this, "DBETelefoon", GBContactpersoon, DSKBIContactpersonen, "KBCP_TELEFOON")),
      DBEEmail(Editor(*this, "DBEEmail", GBContactpersoon, DSKBIContactpersonen, "KBCP_EMAIL")),
      DBCBNietMeerActief(Add<TDBCheckBox>("DBCBNietMeerActief", &GBContactpersoon)),
      BSearchPS(Add<TButton>("BSearchPS", &GBContactpersoon)) {
  ASearchPS.Hint = "Een personeelslid van de instelling opzoeken en overnemen";
  GridContactpersonen.DataSource = &DSKBIContactpersonen;
  GridContactpersonen.Columns = {
      {"KBCP_NAAM", ""},     {"KBCP_VOORNAAM", ""}, {"KBCP_INSZ", ""},
      {"KBCP_TELEFOON", ""}, {"KBCP_EMAIL", ""},
  };
  GBContactpersoon.Caption = "Contactpersoon";
  BindField(DBCBNietMeerActief, DSKBIContactpersonen, "KBCP_NIETMEERACTIEF");
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
  // A takeover changes the current person or adds one: it needs one of those rights.
  const bool mayChange =
      editing || AllowEdit(CDSKBIContactpersonen) || AllowInsert(CDSKBIContactpersonen);
  // A record being inserted counts: an empty list that is taking its first person has one.
  ASearchPS.Enabled = cds.Active() && mayChange && !cds.IsEmpty();
}

std::unique_ptr<TSearchPersoneelDialog> TVWOKBIContactpersonenForm::NewSearchPSDialog() {
  TQuilClientDataSet& cds = CDSKBIContactpersonen;
  const TField* personeel = cds.Active() ? cds.FindField("KBCP_PERSONEEL_FK") : nullptr;
  auto dialog = std::make_unique<TSearchPersoneelDialog>(
      Application(), kZoekInDienst, cds.ParamByName("IS_ID").AsInteger(),
      personeel == nullptr || personeel->IsNull() ? -1 : personeel->AsInteger(),
      AdminPrefs().WerkDatum(), GetConnection());
  dialog->SetHideSearchIM(true);
  return dialog;
}

void TVWOKBIContactpersonenForm::ASearchPSExecute() {
  TQuilClientDataSet& cds = CDSKBIContactpersonen;
  bool insert = false;
  if (cds.State() == DataSetState::Browse && !AllowEdit(cds)) {
    insert = true;  // the user may only add: nothing to ask
  } else if (cds.State() != DataSetState::Insert && AllowInsert(cds)) {
    insert = QuestionDlg("", "Huidge persoon vervangen of nieuwe invoegen?", mtConfirmation,
                         {{kNieuwInvoegen, "Nieuwe invoegen"}, {kVervangen, "Vervangen"}},
                         kNieuwInvoegen) == kNieuwInvoegen;
  }

  std::unique_ptr<TSearchPersoneelDialog> search = NewSearchPSDialog();
  const TSearchPersoneelDialog& dialog = *search;
  // The search takes OK only with a staff member chosen.
  if (search->ShowModal() != mrOk) return;

  // However the takeover ends, the name fields follow the staff link again.
  ScopeExit atEnd([this] { ApplyEditability(); });
  SetNameFieldsEditable(true);
  if (insert) {
    if (!AllowInsert(cds)) Abort();
    cds.Insert();
  } else {
    StartEdit(cds);
  }
  cds.FieldByName("KBCP_PERSONEEL_FK").SetAsInteger(dialog.GetPSID());
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
  RegisterDialogClass(
      "TSearchPersoneelDialog", "TVWOKBIContactpersonenForm",
      [](TQuilDBForm& opener) -> std::unique_ptr<TQuilForm> {
        return dynamic_cast<TVWOKBIContactpersonenForm&>(opener).NewSearchPSDialog();
      });
}

}  // namespace frmVWOKBIContactpersonen

}  // namespace kavel
