#include "host/forms/SearchPersoneelDialog.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "host/base/Strings.h"
#include "host/base/SysUtils.h"

namespace quil {

namespace {

constexpr int kInDienstOpWerkdatum = 0;

//! The staff in service: the provider's rows reduced to one per person. Of a person's rows the
//! first one of an active employment is kept, else the first one.
class TPersoneelInDienstDataSet : public TQuilClientDataSet {
 public:
  using TQuilClientDataSet::TQuilClientDataSet;

 protected:
  DataPacket FetchPacket() override {
    DataPacket packet = TQuilClientDataSet::FetchPacket();
    const int id = packet.FieldIndex("PS_ID");
    const int actief = packet.FieldIndex("DV_ACTIEF");
    if (id < 0) return packet;
    std::vector<Row> persons;
    std::unordered_map<int64_t, size_t> placeOf;
    auto active = [actief](const Row& row) { return actief >= 0 && row[actief].AsString() == "+"; };
    for (Row& row : packet.rows) {
      auto [it, added] = placeOf.try_emplace(row[id].AsLargeInt(), persons.size());
      if (added) {
        persons.push_back(std::move(row));
      } else if (!active(persons[it->second]) && active(row)) {
        persons[it->second] = std::move(row);
      }
    }
    packet.rows = std::move(persons);
    return packet;
  }
};

//! A filter text literal: quotes doubled.
std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(" \t", start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

template <class T>
T& Labelled(T& control, const char* caption) {
  control.Caption = caption;
  return control;
}

}  // namespace

TSearchPersoneelDialog::TSearchPersoneelDialog(TQuilApplication& app, int searchType, int isId,
                                               int psId, TDateTime werkDatum, TDMQuil& connection)
    : TQuilForm(app, "TSearchPersoneelDialog"),
      cdsPersoneel_(std::make_unique<TPersoneelInDienstDataSet>(&connection, "CDSPersoneel")),
      dsPersoneel_(std::make_unique<TDataSource>(cdsPersoneel_.get(), "DSPersoneel")),
      CDSPersoneel(*cdsPersoneel_),
      DSPersoneel(*dsPersoneel_),
      EZoekNaam(Labelled(Add<TEdit>("EZoekNaam"), "Naam")),
      EZoekIM(Labelled(Add<TEdit>("EZoekIM"), "Stamboeknummer")),
      GridPersoneel(Add<TDBGrid>("GridPersoneel")),
      BOK(Labelled(Add<TButton>("BOK"), "OK")),
      BCancel(Labelled(Add<TButton>("BCancel"), "Annuleren")),
      searchType_(searchType),
      isId_(isId),
      psId_(psId),
      werkDatum_(werkDatum) {
  if (searchType_ != kInDienstOpWerkdatum) {
    RaiseClientError("Personeel zoeken: zoektype %d wordt niet ondersteund", searchType_);
  }
  Caption = "Personeel zoeken";
  CDSPersoneel.SetProvName("DSPSelectHuidigPersoneelInDienst");
  CDSPersoneel.IDField = "PS_ID";
  CDSPersoneel.ReadOnly = true;

  EZoekNaam.Hint = "Zoek op naam of voornaam";
  EZoekIM.Hint = "Zoek op stamboeknummer";
  EZoekNaam.OnChange = [this] { ApplySearch(); };
  EZoekIM.OnChange = [this] { ApplySearch(); };

  GridPersoneel.DataSource = &DSPersoneel;
  GridPersoneel.Columns = {{"PS_NAAM", "Naam"},
                           {"PS_VOORNAAM", "Voornaam"},
                           {"PS_CODE", "Code"},
                           {"PS_STAMBOEKNUMMER", "Stamboeknummer"},
                           {"PS_RIJKSREGISTERNUMMER", "Rijksregisternummer"},
                           {"PS_EMAIL", "E-mail"}};
  GridPersoneel.OnDblClick = [this] { BOK.Click(); };

  BOK.Default = true;
  BOK.ModalResult = mrOk;
  BOK.OnClick = [this] { ChooseCurrent(); };
  BCancel.Cancel = true;
  BCancel.ModalResult = mrCancel;
}

TSearchPersoneelDialog::~TSearchPersoneelDialog() = default;

void TSearchPersoneelDialog::SetHideSearchIM(bool hide) {
  EZoekIM.Visible = !hide;
  // A hidden field must not go on narrowing the list.
  if (hide) EZoekIM.SetText("");
  ApplySearch();
}

int TSearchPersoneelDialog::GetPSID() const {
  return chosen_.psId;
}

std::string TSearchPersoneelDialog::GetNaam() const {
  return chosen_.naam;
}

std::string TSearchPersoneelDialog::GetVoornaam() const {
  return chosen_.voornaam;
}

std::string TSearchPersoneelDialog::GetINSZ() const {
  return chosen_.insz;
}

std::string TSearchPersoneelDialog::GetEmail() const {
  return chosen_.email;
}

void TSearchPersoneelDialog::FormShow() {
  chosen_ = {};
  CDSPersoneel.Close();
  Params& params = CDSPersoneel.GetParams();
  params.Add("IS_ID", FieldType::Integer).SetAsInteger(isId_);
  params.Add("WERKDATUM", FieldType::Date).SetAsDate(DateOf(werkDatum_));
  CDSPersoneel.Open();
  ApplySearch();
  if (psId_ > 0) CDSPersoneel.LocateID(psId_);
}

void TSearchPersoneelDialog::ApplySearch() {
  if (!CDSPersoneel.Active()) return;
  std::string filter;
  auto require = [&filter](const std::string& condition) {
    if (!filter.empty()) filter += " AND ";
    filter += condition;
  };
  for (std::string_view word : Words(EZoekNaam.Text())) {
    const std::string pattern = Quoted("%" + std::string(word) + "%");
    require("(PS_NAAM LIKE " + pattern + " OR PS_VOORNAAM LIKE " + pattern + ")");
  }
  if (EZoekIM.Visible) {
    const std::string_view im = Trim(EZoekIM.Text());
    if (!im.empty()) require("PS_STAMBOEKNUMMER LIKE " + Quoted("%" + std::string(im) + "%"));
  }
  CDSPersoneel.MaybeApplyFilter(filter);
}

void TSearchPersoneelDialog::ChooseCurrent() {
  if (!CDSPersoneel.Active() || CDSPersoneel.IsEmpty()) {
    SetFocus(GridPersoneel);
    RaiseClientError("Er is geen personeelslid gekozen.");
  }
  chosen_.psId = CDSPersoneel.FieldByName("PS_ID").AsInteger();
  chosen_.naam = CDSPersoneel.FieldByName("PS_NAAM").AsString();
  chosen_.voornaam = CDSPersoneel.FieldByName("PS_VOORNAAM").AsString();
  chosen_.insz = CDSPersoneel.FieldByName("PS_RIJKSREGISTERNUMMER").AsString();
  chosen_.email = CDSPersoneel.FieldByName("PS_EMAIL").AsString();
}

}  // namespace quil
