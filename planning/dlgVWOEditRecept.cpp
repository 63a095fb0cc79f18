#include "planning/dlgVWOEditRecept.h"

#include "core/ModuleClasses.h"
#include "host/base/SysUtils.h"
#include "host/forms/QuilApplication.h"
#include "planning/VWOLes.h"
#include "planning/vwochecks.h"

namespace kavel {

using namespace quil;

namespace {

template <class T>
T& Labelled(T& control, const char* caption) {
  control.Caption = caption;
  return control;
}

//! Says where a value comes from while its list is not given (ShowList shows or hides it).
TLabel& Note(TQuilForm& form, const char* name, const char* text) {
  TLabel& label = form.Add<TLabel>(name);
  label.Caption = text;
  return label;
}

int KeyOf(const TLookupCombo& combo) {
  return combo.KeyValue().IsNull() ? -1 : combo.KeyValue().AsInteger();
}

//! The chosen record's fields joined with a blank; "" when none is chosen or it is not found.
std::string ChoiceText(const TLookupCombo& combo, const char* first, const char* second) {
  TQuilClientDataSet* list = combo.ListSource ? combo.ListSource->DataSet() : nullptr;
  if (list == nullptr || !list->Active() || combo.KeyValue().IsNull()) return "";
  Variant a = list->Lookup(combo.KeyField, combo.KeyValue(), first);
  if (a.IsNull()) return "";
  return a.AsString() + " " + list->Lookup(combo.KeyField, combo.KeyValue(), second).AsString();
}

//! The choice of a list, or the row's own id when the list was not given.
int Chosen(const TLookupCombo& combo, const TLesReceptItem* row, int TLesReceptItem::*id) {
  if (combo.ListSource != nullptr) return KeyOf(combo);
  return row != nullptr ? row->*id : -1;
}

void ShowList(TLookupCombo& combo, TLabel& note, TDataSource* list) {
  combo.ListSource = list;
  combo.Visible = list != nullptr;
  note.Visible = list == nullptr;
}

}  // namespace

TVWOEditReceptForm::TVWOEditReceptForm(TQuilApplication& app)
    : TQuilForm(app, "TVWOEditReceptForm"),
      CBDag(Labelled(Add<TComboBox>("CBDag"), "Weekdag")),
      TEVan(Labelled(Add<TTimeEdit>("TEVan"), "Van")),
      TETot(Labelled(Add<TTimeEdit>("TETot"), "Tot")),
      EPauze(Labelled(Add<TEdit>("EPauze"), "Pauze (min.)")),
      ELestijden(Labelled(Add<TEdit>("ELestijden"), "Lestijden 50 min.")),
      LCLesgever(Labelled(Add<TLookupCombo>("LCLesgever"), "Lesgever")),
      LLesgeverInfo(Note(*this, "LLesgeverInfo",
                         "Lesgever wordt overgenomen van de ingerichte modulevariant")),
      LCLokaal(Labelled(Add<TLookupCombo>("LCLokaal"), "Lokaal")),
      LLokaalInfo(Note(*this, "LLokaalInfo",
                       "Lokaal wordt overgenomen van het standaard lokaal van de klas")),
      LCLesplaats(Labelled(Add<TLookupCombo>("LCLesplaats"), "Lesplaats")),
      LLesplaatsInfo(Note(*this, "LLesplaatsInfo",
                          "Lesplaats wordt overgenomen van de ingerichte modulevariant")),
      CBAfstand(Labelled(Add<TCheckBox>("CBAfstand"), "Afstands-lesmoment")),
      BOK(Labelled(Add<TButton>("BOK"), "&OK")),
      BCancel(Labelled(Add<TButton>("BCancel"), "Annuleren")) {
  Caption = "Recept voor lesmomenten";
  CBDag.Items = DagNamen();
  LCLesgever.KeyField = "PS_ID";
  LCLesgever.ListFields = "PS_VOORNAAM;PS_NAAM";
  LCLokaal.KeyField = "LK_ID";
  LCLokaal.ListFields = "LK_CODE;LK_OMSCHRIJVING";
  LCLesplaats.KeyField = "VLP_ID";
  LCLesplaats.ListFields = "VLP_NUMMER;VLP_OMSCHRIJVING";
  ShowList(LCLesgever, LLesgeverInfo, nullptr);
  ShowList(LCLokaal, LLokaalInfo, nullptr);
  ShowList(LCLesplaats, LLesplaatsInfo, nullptr);
  BOK.Default = true;
  BOK.ModalResult = mrOk;
  BCancel.Cancel = true;
  BCancel.ModalResult = mrCancel;

  TEVan.OnChange = [this] { VanChange(); };
  TETot.OnChange = [this] { RecomputeLestijden(); };
  EPauze.OnChange = [this] { RecomputeLestijden(); };
  LCLesgever.OnChange = [this] { lesgever_ = ChoiceText(LCLesgever, "PS_VOORNAAM", "PS_NAAM"); };
  LCLokaal.OnChange = [this] { lokaal_ = ChoiceText(LCLokaal, "LK_CODE", "LK_OMSCHRIJVING"); };
  LCLesplaats.OnChange = [this] {
    lesplaats_ = ChoiceText(LCLesplaats, "VLP_NUMMER", "VLP_OMSCHRIJVING");
  };
  BOK.OnClick = [this] { OKClick(); };
}

void TVWOEditReceptForm::SetLesGevers(TDataSource* list) {
  ShowList(LCLesgever, LLesgeverInfo, list);
}

void TVWOEditReceptForm::SetLokalen(TDataSource* list) {
  ShowList(LCLokaal, LLokaalInfo, list);
}

void TVWOEditReceptForm::SetLesplaatsen(TDataSource* list) {
  ShowList(LCLesplaats, LLesplaatsInfo, list);
}

void TVWOEditReceptForm::SetRecept(TLesReceptItem& row) {
  row_ = &row;
}

void TVWOEditReceptForm::FormShow() {
  if (row_ == nullptr) return;
  // Shown as the row has it, not recomputed: setting the controls raises no change.
  const TLesReceptItem& row = *row_;
  CBDag.SetItemIndex(row.Dag ? static_cast<int>(*row.Dag) : -1);
  TEVan.SetTime(row.Van);
  TETot.SetTime(row.Tot);
  ELestijden.SetText(FormatCurr("#.##", row.Lestijden));
  EPauze.SetText(IntToStr(row.Pauze));
  CBAfstand.SetChecked(row.Afstand);
  // The texts go along with the ids, also for a list that was not given.
  lesgever_ = row.Lesgever;
  lokaal_ = row.Lokaal;
  lesplaats_ = row.Lesplaats;
  auto key = [](int id) { return id == -1 ? Variant() : Variant(id); };
  if (LCLesgever.ListSource) LCLesgever.SetKeyValue(key(row.LesgeverID));
  if (LCLokaal.ListSource) LCLokaal.SetKeyValue(key(row.LokaalID));
  if (LCLesplaats.ListSource) LCLesplaats.SetKeyValue(key(row.LesplaatsID));
}

void TVWOEditReceptForm::VanChange() {
  TETot.SetTime(VoorgesteldEindUur(TEVan.Time()));
  RecomputeLestijden();
}

void TVWOEditReceptForm::RecomputeLestijden() {
  ELestijden.SetText(
      LestijdenText(LestijdenTussen(TEVan.Time(), TETot.Time(), StrToIntDef(EPauze.Text(), 0))));
}

void TVWOEditReceptForm::Validate() {
  if (CBDag.ItemIndex() < 0) {
    SetFocus(CBDag);
    RaiseClientError("Gelieve een dag te selecteren");
  }
  const double lestijden = StrToFloatDef(ELestijden.Text(), 0);
  if (lestijden <= 0) {
    SetFocus(ELestijden);
    RaiseClientError("De duur bevat geen geldig aantal");
  }
  if (TEVan.Time() > TETot.Time()) {
    SetFocus(TEVan);
    RaiseClientError("De starttijd moet voor de eindtijd liggen");
  }
  const int lokaal = Chosen(LCLokaal, row_, &TLesReceptItem::LokaalID);
  const int lesplaats = Chosen(LCLesplaats, row_, &TLesReceptItem::LesplaatsID);
  if (MiddelenVerplicht && (lokaal == -1 || lesplaats == -1)) {
    SetFocus(lokaal == -1 ? LCLokaal : LCLesplaats);
    RaiseClientError(
        "Lesplaats en lokaal zijn verplicht indien het geen buitenschoolse activiteit "
        "is.");
  }
  if (StrToIntDef(EPauze.Text(), 0) < 0) {
    SetFocus(EPauze);
    RaiseClientError("De Pauze bevat geen geldig aantal");
  }
  SetFocus(ELestijden);
  CheckDuurtijdLes(lestijden, TEVan.Time(), TETot.Time());
}

void TVWOEditReceptForm::OKClick() {
  Validate();
  if (row_ == nullptr) return;
  TLesReceptItem& row = *row_;
  row.Dag = static_cast<TDag>(CBDag.ItemIndex());
  row.Van = TEVan.Time();
  row.Tot = TETot.Time();
  row.Lestijden = Currency::FromDouble(StrToFloatDef(ELestijden.Text(), 0));
  // Each text follows its choice: empty when nothing is chosen.
  row.LesgeverID = Chosen(LCLesgever, row_, &TLesReceptItem::LesgeverID);
  row.Lesgever = lesgever_;
  row.LokaalID = Chosen(LCLokaal, row_, &TLesReceptItem::LokaalID);
  row.Lokaal = lokaal_;
  row.LesplaatsID = Chosen(LCLesplaats, row_, &TLesReceptItem::LesplaatsID);
  row.Lesplaats = lesplaats_;
  row.Pauze = StrToIntDef(EPauze.Text(), 0);
  row.Afstand = CBAfstand.Checked();
}

}  // namespace kavel

namespace kavel::dlgVWOEditRecept {

void Initialization() {
  // Opened from the recipe dialog, on behalf of the screens that open that one.
  RegisterDialogClass("TVWOEditReceptForm", "TVWOIngModuleVariantForm",
                      [](quil::TQuilDBForm& form) -> std::unique_ptr<quil::TQuilForm> {
                        return std::make_unique<TVWOEditReceptForm>(form.Application());
                      });
}

}  // namespace kavel::dlgVWOEditRecept
