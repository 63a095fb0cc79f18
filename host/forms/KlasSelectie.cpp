#include "host/forms/KlasSelectie.h"

#include "host/base/ScopeExit.h"
#include "host/base/SysUtils.h"
#include "host/data/FieldDeclarations.h"

namespace quil {

namespace {

constexpr const char* kGestopt = "Klas %s: %s\r\n%d van %d klassen verwerkt.";

std::string DateText(const TField& field) {
  return field.IsNull() ? "" : FormatDateTime("dd/mm/yyyy", field.AsDateTime());
}

}  // namespace

TKlasSelectie::TKlasSelectie(TQuilDBForm& form, TControl* selection, TControl* list)
    : CDSBrowseVWOinstelling(form.AddDataSet("CDSBrowseVWOinstelling", "DSPBrowseOSPInstellingen")),
      DSBrowseVWOinstelling(form.AddDataSource("DSBrowseVWOinstelling", &CDSBrowseVWOinstelling)),
      CDSSelectKlassen(form.AddDataSet("CDSSelectKlassen", "DSPBrowseVWOKlas")),
      DSSelectKlassen(form.AddDataSource("DSSelectKlassen", &CDSSelectKlassen)),
      LCInstelling(form.Add<TLookupCombo>("LCInstelling", selection)),
      PnlKnoppen(form.Add<TPanel>("PnlKnoppen", list)),
      BMain(form.Add<TButton>("BMain", &PnlKnoppen)),
      CLBKlassen(form.Add<TCheckListBox>("CLBKlassen", list)),
      PBVoortgang(form.Add<TProgressBar>("PBVoortgang", list)),
      ASelectAll(form.AddAction(
          "ASelectAll", "Selecteer &alles", [this] { TickAll(true); },
          [this] { ASelectAll.Enabled = HasClasses(); })),
      ASelectNothing(form.AddAction(
          "ASelectNothing", "Selecteer &niets", [this] { TickAll(false); },
          [this] { ASelectNothing.Enabled = HasClasses(); })),
      form_(form) {
  CDSBrowseVWOinstelling.IDField = "IS_ID";
  CDSBrowseVWOinstelling.ReadOnly = true;
  CDSSelectKlassen.IDField = "VWK_ID";
  CDSSelectKlassen.ReadOnly = true;
  DeclareFields(CDSSelectKlassen,
                {DataField("VWK_ID", "Klas id").Hidden(), DataField("VWK_CODE", "Code"),
                 DataField("VWK_OMSCHRIJVING", "Omschrijving"), DataField("VWK_VAN", "Van"),
                 DataField("VWK_TOT", "Tot")});
  LCInstelling.Caption = "Instelling";
  LCInstelling.ListSource = &DSBrowseVWOinstelling;
  LCInstelling.KeyField = "IS_ID";
  LCInstelling.ListFields = "IS_CODE;SC_INSTELLINGSNUMMER;IS_NAAMGEBRUIKER";
  LCInstelling.OnChange = [this] { InstellingChange(); };
  CLBKlassen.Caption = "Klassen";
  PBVoortgang.Caption = "Voortgang";
  PBVoortgang.Visible = false;
  BMain.Default = true;
  form.Add<TButton>("BSelectAll", &PnlKnoppen).Action = &ASelectAll;
  form.Add<TButton>("BSelectNothing", &PnlKnoppen).Action = &ASelectNothing;
}

void TKlasSelectie::SetMaster(TDataSource* master) {
  TQuilClientDataSet* list = master != nullptr ? master->DataSet() : nullptr;
  if (list != nullptr && list->FindField("IS_ID") != nullptr &&
      list->FindField("SC_ID") != nullptr) {
    LCInstelling.ListSource = master;
    return;
  }
  LCInstelling.ListSource = &DSBrowseVWOinstelling;
  CDSBrowseVWOinstelling.Open();
}

void TKlasSelectie::InstellingChange() {
  const Variant key = LCInstelling.KeyValue();
  TQuilClientDataSet* list = LCInstelling.ListSource->DataSet();
  const Variant school = key.IsNull() ? Variant() : list->Lookup("IS_ID", key, "SC_ID");
  instellingId_ = key.IsNull() ? -1 : static_cast<int>(key.AsInteger());
  schoolId_ = school.IsNull() ? -1 : static_cast<int>(school.AsInteger());
  if (OnInstellingChange) OnInstellingChange();
}

void TKlasSelectie::Load(TDateTime begin, TDateTime end) {
  CloseList();
  if (CDSSelectKlassen.GetParams().IsEmpty()) CDSSelectKlassen.FetchParams();
  CDSSelectKlassen.ParamByName("SC_ID").SetAsInteger(schoolId_);
  CDSSelectKlassen.ParamByName("BeginDatum").SetAsDate(begin);
  CDSSelectKlassen.ParamByName("EindDatum").SetAsDate(end);
  CDSSelectKlassen.Open();
  std::vector<std::string> items;
  for (CDSSelectKlassen.First(); !CDSSelectKlassen.Eof(); CDSSelectKlassen.Next()) {
    ids_.push_back(static_cast<int>(CDSSelectKlassen.FieldByName("VWK_ID").AsInteger()));
    items.push_back(Format("%s - %s (%s - %s)", CDSSelectKlassen.FieldByName("VWK_CODE").AsString(),
                           CDSSelectKlassen.FieldByName("VWK_OMSCHRIJVING").AsString(),
                           DateText(CDSSelectKlassen.FieldByName("VWK_VAN")),
                           DateText(CDSSelectKlassen.FieldByName("VWK_TOT"))));
  }
  CDSSelectKlassen.First();
  CLBKlassen.SetItems(std::move(items));
}

void TKlasSelectie::CloseList() {
  CDSSelectKlassen.Close();
  ids_.clear();
  CLBKlassen.SetItems({});
}

bool TKlasSelectie::ListOpen() const {
  return CDSSelectKlassen.Active();
}

bool TKlasSelectie::HasClasses() const {
  return ListOpen() && !ids_.empty();
}

std::vector<int> TKlasSelectie::TickedIDs() const {
  std::vector<int> ticked;
  for (size_t i = 0; i < ids_.size(); ++i) {
    if (CLBKlassen.Checked(static_cast<int>(i))) ticked.push_back(ids_[i]);
  }
  return ticked;
}

int TKlasSelectie::TickedCount() const {
  return static_cast<int>(TickedIDs().size());
}

void TKlasSelectie::TickAll(bool ticked) {
  for (size_t i = 0; i < ids_.size(); ++i) CLBKlassen.SetChecked(static_cast<int>(i), ticked);
}

std::string TKlasSelectie::KlasCode(int id) {
  return CDSSelectKlassen.Lookup("VWK_ID", Variant(id), "VWK_CODE").AsString();
}

void TKlasSelectie::RunPerClass(const std::vector<int>& ids,
                                const std::function<void(int id)>& job) {
  PBVoortgang.Min = 0;
  PBVoortgang.Max = static_cast<int>(ids.size());
  PBVoortgang.Position = 0;
  PBVoortgang.Visible = true;
  ScopeExit hide([this] { PBVoortgang.Visible = false; });
  int done = 0;
  for (int id : ids) {
    PBVoortgang.StepBy(1);
    form_.ProcessMessages();
    try {
      job(id);
    } catch (const EClientError& e) {
      RaiseClientError(Format(kGestopt, KlasCode(id), std::string(e.what()), done,
                              static_cast<int>(ids.size())));
    }
    ++done;
  }
}

void TKlasSelectie::Reset() {
  instellingId_ = -1;
  schoolId_ = -1;
  LCInstelling.SetKeyValue(Variant());
  CloseList();
}

void TKlasSelectie::UpdateMainButton(TAction& prepare, TAction& execute) {
  BMain.Action = HasClasses() ? &execute : &prepare;
}

}  // namespace quil
