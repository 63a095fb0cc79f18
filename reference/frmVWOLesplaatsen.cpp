#include "reference/frmVWOLesplaatsen.h"

#include <cstdint>
#include <string_view>

#include "core/ModuleClasses.h"
#include "host/base/ScopeExit.h"
#include "host/base/SysUtils.h"
#include "host/data/FieldDeclarations.h"
#include "host/data/LikeMatcher.h"
#include "host/domain/TextChecks.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kGeenOffLesplaats =
    "De officiële lesplaats moet ingevuld zijn.\r\nIndien de verwachte lesplaats niet in de lijst "
    "met officiële lesplaatsen staat\r\nmoet de taxonomie vernieuwd worden.";
constexpr const char* kNummerOngelijk =
    "Lesplaatsnummer moet gelijk zijn aan lesplaatsnummer officiële lesplaats";
constexpr const char* kNummerVerschillend =
    "Huidige lesplaatsnummer is verschillend van officiële lesplaatsnummer";

//! A lesson place number, or an official one (text), as an integer; -1 when it is not one, so
//! "012" and 12 are the same number.
int64_t AlsNummer(std::string_view text) {
  return StrToIntDef(text, -1);
}

//! The first `count` characters of UTF-8 text.
std::string Links(std::string_view text, size_t count) {
  size_t end = 0;
  for (size_t n = 0; n < count && end < text.size(); ++n) end += Utf8CharLength(text, end);
  return std::string(text.substr(0, end));
}

//! Takes a text of the official place over into a field, cut to the field's size.
void NeemOver(TField& field, std::string_view text) {
  field.SetAsString(Links(text, static_cast<size_t>(field.Size())));
}

//! Writes a value into a field the user cannot change (a name the provider joins in).
void ToonWaarde(TField& field, const Variant& value) {
  ScopeExit restore([&field, readOnly = field.ReadOnly] { field.ReadOnly = readOnly; });
  field.ReadOnly = false;
  field.SetValue(value);
}

}  // namespace

TVWOLesplaatsenForm::TVWOLesplaatsenForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOLesplaatsenForm"),
      CDSVWOLesplaats(AddDataSet("CDSVWOLesplaats", "DSPVWOLesplaats")),
      DSVWOLesplaats(AddDataSource("DSVWOLesplaats", &CDSVWOLesplaats)),
      CDSSelectVestiging(AddDataSet("CDSSelectVestiging", "DSPSelectVPPerIS")),
      DSSelectVestiging(AddDataSource("DSSelectVestiging", &CDSSelectVestiging)),
      CDSSelectVWOOffLesplaats(AddDataSet("CDSSelectVWOOffLesplaats", "DSPSelectVWOOffLesplaats")),
      DSSelectVWOOffLesplaats(AddDataSource("DSSelectVWOOffLesplaats", &CDSSelectVWOOffLesplaats)),
      CDSVWOOffLesplaatsPerIS(
          AddDataSet("CDSVWOOffLesplaatsPerIS", "DSPSelectVWOOffLesplaatsPerIS")),
      DSVWOOffLesplaatsPerIS(AddDataSource("DSVWOOffLesplaatsPerIS", &CDSVWOOffLesplaatsPerIS)),
      PnlLijst(Add<TPanel>("PnlLijst")),
      GridLesplaatsen(Add<TDBGrid>("GridLesplaatsen", &PnlLijst)),
      PnlLesplaats(Add<TPanel>("PnlLesplaats")),
      EdtNummer(AddFieldEdit("EdtNummer", "VLP_NUMMER")),
      EdtCRABCode(AddFieldEdit("EdtCRABCode", "VLP_CRABCODE")),
      EdtOmschrijving(AddFieldEdit("EdtOmschrijving", "VLP_OMSCHRIJVING")),
      EdtStraat(AddFieldEdit("EdtStraat", "VLP_STRAAT")),
      EdtStraatNr(AddFieldEdit("EdtStraatNr", "VLP_STRAATNR")),
      EdtStraatBus(AddFieldEdit("EdtStraatBus", "VLP_STRAATBUS")),
      FrameGemeente(TSelectGemeenteFrame::Create(*this, "FrameGemeente", &PnlLesplaats,
                                                 DSVWOLesplaats, "VLP_GEMEENTE_FK")),
      LCVestigingsplaats(Add<TDBLookupCombo>("LCVestigingsplaats", &PnlLesplaats)),
      LCOffLesplaats(Add<TDBLookupCombo>("LCOffLesplaats", &PnlLesplaats)),
      AOvername(AddAction(
          "AOvername", "&Overname gegevens van officiële lesplaats", [this] { AOvernameExecute(); },
          [this] { AOvernameUpdate(); })),
      BtnOvername(Add<TButton>("BtnOvername", &PnlLesplaats)) {
  CDSVWOLesplaats.IDField = "VLP_ID";
  CDSVWOLesplaats.ParamToFields = "IS_ID=VLP_INSTELLING_FK";
  CDSVWOLesplaats.ChangedByField = "VLP_VERANDERDDOOR";
  CDSVWOLesplaats.ChangedOnField = "VLP_VERANDERDOP";
  CDSVWOLesplaats.SetSortFields("VLP_NUMMER");
  CDSVWOLesplaats.OrderField = "VLP_NUMMER";
  CDSVWOLesplaats.AutoOpen = true;
  CDSVWOLesplaats.AfterOpen = [this](TQuilClientDataSet&) { CDSVWOLesplaatsAfterOpen(); };
  CDSVWOLesplaats.OnNewRecord = [this](TQuilClientDataSet&) { CDSVWOLesplaatsNewRecord(); };
  CDSVWOLesplaats.BeforePost = [this](TQuilClientDataSet&) { CDSVWOLesplaatsBeforePost(); };
  CDSVWOLesplaats.AfterScroll = [this](TQuilClientDataSet&) { VolgVestiging(); };

  CDSSelectVestiging.IDField = "VP_ID";
  CDSSelectVestiging.ReadOnly = true;
  CDSSelectVestiging.AutoOpen = true;
  // The institution's places may open before its locations do.
  CDSSelectVestiging.AfterOpen = [this](TQuilClientDataSet&) { VolgVestiging(); };

  CDSSelectVWOOffLesplaats.IDField = "VOLP_ID";
  CDSSelectVWOOffLesplaats.ReadOnly = true;
  CDSSelectVWOOffLesplaats.AutoOpen = true;
  CDSSelectVWOOffLesplaats.SetSortFields("VOLP_CODE");
  DeclareFields(CDSVWOLesplaats,
                {DataField("VLP_NUMMER", "Nummer"), DataField("VLP_CRABCODE", "Code CRAB"),
                 DataField("VLP_OMSCHRIJVING", "Omschrijving"), DataField("VLP_STRAAT", "Straat"),
                 DataField("VLP_STRAATNR", "Nummer straat"),
                 DataField("VLP_STRAATBUS", "Busnummer"), DataField("VLP_GEMEENTE_FK", "Gemeente"),
                 DataField("VLP_VESTIGINGSPLAATS_FK", "Vestigingsplaats"),
                 DataField("VLP_VWOOFFLESPLAATS_FK", "Off. lesplaats"),
                 DataField("VLP_POSTCODE", "Postcode"), DataField("VLP_GEMEENTE", "Gemeente"),
                 DataField("VLP_VESTIGINGSPLAATS", "Vestigingsplaats")});
  // What the choice list of official places shows of each of them.
  DeclareFields(CDSSelectVWOOffLesplaats,
                {DataField("VOLP_CODE", "Code"), DataField("VOLP_NAAM", "Naam"),
                 DataField("VOLP_STRAAT", "Straat"), DataField("VOLP_HUISNUMMER", "Huisnummer")});

  CDSVWOOffLesplaatsPerIS.IDField = "VOLP_ID";
  CDSVWOOffLesplaatsPerIS.ReadOnly = true;
  CDSVWOOffLesplaatsPerIS.AutoOpen = true;

  GridLesplaatsen.DataSource = &DSVWOLesplaats;
  GridLesplaatsen.Columns = {
      {"VLP_NUMMER", "", 8},   {"VLP_OMSCHRIJVING", "", 30}, {"VLP_VESTIGINGSPLAATS", "", 20},
      {"VLP_STRAAT", "", 25},  {"VLP_STRAATNR", "", 6},      {"VLP_STRAATBUS", "", 5},
      {"VLP_POSTCODE", "", 8}, {"VLP_GEMEENTE", "", 20},     {"VLP_CRABCODE", "", 12}};

  EdtCRABCode.AllowedChars = std::string(NumericChars);

  BindField(LCVestigingsplaats, DSVWOLesplaats, "VLP_VESTIGINGSPLAATS_FK");
  OfferList(LCVestigingsplaats, DSSelectVestiging, "VP_ID", "VP_NAAM");

  BindField(LCOffLesplaats, DSVWOLesplaats, "VLP_VWOOFFLESPLAATS_FK");
  LCOffLesplaats.ListSource = &DSSelectVWOOffLesplaats;
  LCOffLesplaats.ResolveSource = &DSVWOOffLesplaatsPerIS;
  LCOffLesplaats.KeyField = "VOLP_ID";
  LCOffLesplaats.ListField = "VOLP_CODE;VOLP_NAAM;VOLP_STRAAT;VOLP_HUISNUMMER";
  // The official places offered are those of the Davinci location of the chosen location.
  CDSSelectVWOOffLesplaats.SetMasterdataSource(LCVestigingsplaats.ListSource);

  AOvername.Hint = "Neem alle gegevens over van de officiële lesplaats";
  BtnOvername.Action = &AOvername;
}

TDBEdit& TVWOLesplaatsenForm::AddFieldEdit(std::string name, std::string fieldName) {
  return BindField(Add<TDBEdit>(std::move(name), &PnlLesplaats), DSVWOLesplaats,
                   std::move(fieldName));
}

void TVWOLesplaatsenForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  RequireMasterField("IS_ID");
  LinkToMaster(CDSVWOLesplaats);
  TDataSource* institution = FindDataSourceWithField(master, "IS_ID");
  CDSSelectVestiging.SetMasterdataSource(institution);
  CDSVWOOffLesplaatsPerIS.SetMasterdataSource(institution);
}

void TVWOLesplaatsenForm::CDSVWOLesplaatsAfterOpen() {
  CDSVWOLesplaats.FieldByName("VLP_GEMEENTE_FK").OnChange = [this](TField&) {
    VLP_GEMEENTE_FKChange();
  };
  CDSVWOLesplaats.FieldByName("VLP_VESTIGINGSPLAATS_FK").OnChange = [this](TField&) {
    VLP_VESTIGINGSPLAATS_FKChange();
  };
}

void TVWOLesplaatsenForm::CDSVWOLesplaatsNewRecord() {
  CDSVWOLesplaats.FieldByName("VLP_TYPERECORD").SetAsString("U");
}

void TVWOLesplaatsenForm::CDSVWOLesplaatsBeforePost() {
  const TField& official = CDSVWOLesplaats.FieldByName("VLP_VWOOFFLESPLAATS_FK");
  if (official.IsNull()) {
    SetFocus(LCOffLesplaats);
    RaiseClientError(kGeenOffLesplaats);
  }
  const std::string officialCode =
      CDSVWOOffLesplaatsPerIS.Lookup("VOLP_ID", official.Value(), "VOLP_CODE").AsString();
  if (AlsNummer(CDSVWOLesplaats.FieldByName("VLP_NUMMER").AsString()) != AlsNummer(officialCode)) {
    SetFocus(EdtNummer);
    RaiseClientError(kNummerOngelijk);
  }
}

void TVWOLesplaatsenForm::VLP_GEMEENTE_FKChange() {
  TQuilClientDataSet& gemeenten = *FrameGemeente.ListSource->DataSet();
  const Variant key = CDSVWOLesplaats.FieldByName("VLP_GEMEENTE_FK").Value();
  ToonWaarde(CDSVWOLesplaats.FieldByName("VLP_POSTCODE"),
             gemeenten.Lookup("GM_ID", key, "GM_POSTNUMMER"));
  ToonWaarde(CDSVWOLesplaats.FieldByName("VLP_GEMEENTE"),
             gemeenten.Lookup("GM_ID", key, "GM_DEELGEMEENTE"));
}

void TVWOLesplaatsenForm::VLP_VESTIGINGSPLAATS_FKChange() {
  const Variant key = CDSVWOLesplaats.FieldByName("VLP_VESTIGINGSPLAATS_FK").Value();
  ToonWaarde(CDSVWOLesplaats.FieldByName("VLP_VESTIGINGSPLAATS"),
             CDSSelectVestiging.Lookup("VP_ID", key, "VP_NAAM"));
  VolgVestiging();
}

void TVWOLesplaatsenForm::VolgVestiging() {
  if (!CDSVWOLesplaats.Active() || !CDSSelectVestiging.Active()) return;
  const TField& location = CDSVWOLesplaats.FieldByName("VLP_VESTIGINGSPLAATS_FK");
  if (!location.IsNull()) CDSSelectVestiging.LocateID(location.AsLargeInt());
}

void TVWOLesplaatsenForm::AOvernameExecute() {
  const Variant key = CDSVWOLesplaats.FieldByName("VLP_VWOOFFLESPLAATS_FK").Value();
  auto official = [&](std::string_view field) {
    return CDSVWOOffLesplaatsPerIS.Lookup("VOLP_ID", key, field);
  };
  const int64_t officialNumber = AlsNummer(official("VOLP_CODE").AsString());
  TField& nummer = CDSVWOLesplaats.FieldByName("VLP_NUMMER");
  if (!nummer.IsNull() && AlsNummer(nummer.AsString()) != officialNumber) {
    SetFocus(EdtNummer);
    RaiseClientError(kNummerVerschillend);
  }
  StartEdit(CDSVWOLesplaats);
  const std::string crab = official("VOLP_CRABHUISNUMMER").AsString();
  if (!crab.empty()) CDSVWOLesplaats.FieldByName("VLP_CRABCODE").SetAsString(crab);
  CDSVWOLesplaats.FieldByName("VLP_GEMEENTE_FK").SetValue(official("VOLP_GEMEENTE_FK"));
  const std::string naam = official("VOLP_NAAM").AsString();
  if (!naam.empty()) NeemOver(CDSVWOLesplaats.FieldByName("VLP_OMSCHRIJVING"), naam);
  NeemOver(CDSVWOLesplaats.FieldByName("VLP_STRAAT"), official("VOLP_STRAAT").AsString());
  NeemOver(CDSVWOLesplaats.FieldByName("VLP_STRAATBUS"), official("VOLP_BUSNUMMER").AsString());
  NeemOver(CDSVWOLesplaats.FieldByName("VLP_STRAATNR"), official("VOLP_HUISNUMMER").AsString());
  nummer.SetAsInteger(officialNumber);
}

void TVWOLesplaatsenForm::AOvernameUpdate() {
  bool known = false;
  if (CDSVWOLesplaats.Active() && CDSVWOOffLesplaatsPerIS.Active()) {
    const Variant key = CDSVWOLesplaats.FieldByName("VLP_VWOOFFLESPLAATS_FK").Value();
    known = !key.IsNull() && !CDSVWOOffLesplaatsPerIS.Lookup("VOLP_ID", key, "VOLP_ID").IsNull();
  }
  // The takeover changes the place: a record being edited, or one the user may edit.
  const DataSetState state = CDSVWOLesplaats.State();
  const bool editing = state == DataSetState::Edit || state == DataSetState::Insert;
  AOvername.Enabled = known && (editing || AllowEdit(CDSVWOLesplaats));
}

namespace frmVWOLesplaatsen {

void Initialization() {
  RegisterScreenClass("TVWOLesplaatsenForm", FactoryOf<TVWOLesplaatsenForm>());
}

}  // namespace frmVWOLesplaatsen

}  // namespace kavel
