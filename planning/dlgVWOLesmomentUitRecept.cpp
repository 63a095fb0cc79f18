#include "planning/dlgVWOLesmomentUitRecept.h"

#include <algorithm>

#include "core/ModuleClasses.h"
#include "host/base/SysUtils.h"
#include "host/forms/QuilApplication.h"
#include "planning/dlgVWOEditRecept.h"

namespace kavel {

using namespace quil;

namespace {

constexpr int kJobLesmomentenUitRecept = 313;

const char* const kKolommen[] = {"Nr.",       "Weekdag",          "Van",      "Tot",
                                 "Pauze",     "Lestijden",        "Lesgever", "Lokaal",
                                 "Lesplaats", "Afstandsonderwijs"};

template <class T>
T& Labelled(T& control, const char* caption) {
  control.Caption = caption;
  return control;
}

TCheckBox& Option(TQuilForm& form, const char* name, const char* caption, bool checked) {
  TCheckBox& box = Labelled(form.Add<TCheckBox>(name), caption);
  box.SetChecked(checked);
  return box;
}

//! `first` and `second` of the list record with the id, joined with a blank; "" when not found.
std::string ListText(TDataSource* source, const char* keyField, int id, const char* first,
                     const char* second) {
  TQuilClientDataSet* list = source != nullptr ? source->DataSet() : nullptr;
  if (list == nullptr || !list->Active()) return "";
  Variant a = list->Lookup(keyField, Variant(id), first);
  if (a.IsNull()) return "";
  return a.AsString() + " " + list->Lookup(keyField, Variant(id), second).AsString();
}

}  // namespace

TVWOLesUitReceptDialoog::TVWOLesUitReceptDialoog(TQuilDBForm& owner)
    : TQuilForm(owner.Application(), "TVWOLesUitReceptDialoog"),
      SGRecept(Add<TStringGrid>("SGRecept")),
      EVan(Labelled(Add<TDateEdit>("EVan"), "Aanmaken vanaf")),
      ETot(Labelled(Add<TDateEdit>("ETot"), "Tot")),
      CBEinddatum(
          Option(*this, "CBEinddatum", "Einddatumingerichte module var/klas aanpassen", true)),
      CBBegindatum(
          Option(*this, "CBBegindatum", "Begindatum ingerichte module var/klas aanpassen", true)),
      CBTweewekelijks(Option(*this, "CBTweewekelijks", "Tweewekelijks", false)),
      CBGeenVakanties(Option(*this, "CBGeenVakanties", "Schoolvakanties niet nakijken", false)),
      CBInstellingsVakanties(Option(*this, "CBInstellingsVakanties",
                                    "Instellingsgebonden vakanties gebruiken", false)),
      CBRegistratiemoment(
          Option(*this, "CBRegistratiemoment", "Registratiemoment aanpassen", true)),
      CBVerwijderen(Option(*this, "CBVerwijderen",
                           "Bestaande lesmomenten zonder participaties verwijderen", true)),
      ANieuw(AddAction("ANieuw", "&Nieuw lesmoment", [this] { NieuwExecute(); })),
      ABewerk(AddAction(
          "ABewerk", "&Bewerken", [this] { BewerkExecute(); },
          [this] { ABewerk.Enabled = !recept_.IsEmpty(); })),
      AVerwijder(AddAction(
          "AVerwijder", "&Verwijderen", [this] { VerwijderExecute(); },
          [this] { AVerwijder.Enabled = !recept_.IsEmpty(); })),
      AOK(AddAction(
          "AOK", "&OK", [this] { OKExecute(); }, [this] { OKUpdate(); })),
      BOK(Add<TButton>("BOK")),
      BCancel(Labelled(Add<TButton>("BCancel"), "Annuleren")),
      owner_(owner) {
  Caption = "Geef het recept:";
  ANieuw.Hint = "&Nieuw lesmoment";
  ABewerk.Hint = "Bewerk eigenschappen lesmoment";
  AVerwijder.Hint = "Lesmoment verwijderen";
  for (TAction* action : {&ANieuw, &ABewerk, &AVerwijder}) {
    Add<TButton>("B" + action->Name().substr(1)).Action = action;
  }
  BOK.Action = &AOK;
  BOK.Default = true;
  BOK.ModalResult = mrOk;
  BCancel.Cancel = true;
  BCancel.ModalResult = mrCancel;
  SGRecept.OnDblClick = [this] {
    if (!recept_.IsEmpty()) BewerkExecute();
  };
  ShowRecept(0);
}

void TVWOLesUitReceptDialoog::SetDatum(int index, TDateTime date) {
  if (index == 1) EVan.SetDate(date);
  if (index == 2) ETot.SetDate(date);
}

TDateTime TVWOLesUitReceptDialoog::GetDatum(int index) const {
  if (index == 1) return EVan.Date();
  if (index == 2) return ETot.Date();
  return TDateTime();
}

int TVWOLesUitReceptDialoog::GetOpties() const {
  int options = 0;
  if (CBEinddatum.Checked()) options |= 1 << 0;
  if (CBBegindatum.Checked()) options |= 1 << 1;
  if (CBTweewekelijks.Checked()) options |= 1 << 2;
  if (CBGeenVakanties.Checked()) options |= 1 << 3;
  if (!CBInstellingsVakanties.Checked()) options |= 1 << 4;
  if (CBRegistratiemoment.Checked()) options |= 1 << 5;
  if (!CBVerwijderen.Checked()) options |= 1 << 6;
  return options;
}

void TVWOLesUitReceptDialoog::FormShow() {
  // Holidays of the institution are not offered: the general ones always count.
  CBInstellingsVakanties.SetChecked(false);
  CBInstellingsVakanties.Visible = false;
  ShowRecept(SelectedRow());
}

// ----------------------------------------------------------------------------------- grid

int TVWOLesUitReceptDialoog::SelectedRow() const {
  if (recept_.IsEmpty()) return -1;
  return std::clamp(SGRecept.Row() - 1, 0, recept_.Count() - 1);
}

void TVWOLesUitReceptDialoog::ShowRecept(int selectRow) {
  const int columns = Lokalen != nullptr ? 10 : 6;
  // One header row and at least one body row, empty while the recipe has none.
  SGRecept.SetSize(columns, std::max(recept_.Count(), 1) + 1);
  for (int col = 0; col < columns; ++col) SGRecept.SetCell(col, 0, kKolommen[col]);
  for (int col = 0; col < columns; ++col) SGRecept.SetCell(col, 1, "");
  for (int i = 0; i < recept_.Count(); ++i) {
    const TLesReceptItem& row = recept_.Item(i);
    const std::string cells[] = {IntToStr(i + 1),
                                 row.Dag ? DagNaam(*row.Dag) : "",
                                 FormatDateTime("hh:nn", row.Van),
                                 FormatDateTime("hh:nn", row.Tot),
                                 IntToStr(row.Pauze),
                                 Format("%3.2f", row.Lestijden),
                                 row.Lesgever,
                                 row.Lokaal,
                                 row.Lesplaats,
                                 row.Afstand ? "Ja" : "Nee"};
    for (int col = 0; col < columns; ++col) SGRecept.SetCell(col, i + 1, cells[col]);
  }
  SGRecept.Select(0, std::max(selectRow, 0) + 1);
}

// -------------------------------------------------------------------------------- actions

bool TVWOLesUitReceptDialoog::EditRow(TLesReceptItem& row) {
  TVWOEditReceptForm editor(Application());
  editor.SetLesGevers(LesGevers);
  editor.SetLokalen(Lokalen);
  editor.SetLesplaatsen(Lesplaatsen);
  editor.SetRecept(row);
  editor.MiddelenVerplicht = MiddelenVerplicht;
  return editor.ShowModal() == mrOk;
}

void TVWOLesUitReceptDialoog::NieuwExecute() {
  const bool hadRows = !recept_.IsEmpty();
  const TLesReceptItem last = hadRows ? recept_.Item(recept_.Count() - 1) : TLesReceptItem();
  TLesReceptItem& row = recept_.Add();
  if (hadRows) {
    row = last;
    row.Afstand = false;
  } else {
    // The defaults with their texts; one that is none (-1) or not in its list has no text.
    row.LesgeverID = StandaardLesgever;
    row.LokaalID = StandaardLokaal;
    row.LesplaatsID = StandaardLesplaats;
    row.Lesgever = ListText(LesGevers, "PS_ID", StandaardLesgever, "PS_VOORNAAM", "PS_NAAM");
    row.Lokaal = ListText(Lokalen, "LK_ID", StandaardLokaal, "LK_CODE", "LK_OMSCHRIJVING");
    row.Lesplaats =
        ListText(Lesplaatsen, "VLP_ID", StandaardLesplaats, "VLP_NUMMER", "VLP_OMSCHRIJVING");
  }
  const int index = recept_.Count() - 1;
  ShowRecept(index);
  if (!EditRow(row)) recept_.Delete(index);
  ShowRecept(std::min(index, recept_.Count() - 1));
}

void TVWOLesUitReceptDialoog::BewerkExecute() {
  const int index = SelectedRow();
  if (index < 0) return;
  EditRow(recept_.Item(index));
  ShowRecept(index);
}

void TVWOLesUitReceptDialoog::VerwijderExecute() {
  const int index = SelectedRow();
  if (index < 0) return;
  recept_.Delete(index);
  ShowRecept(std::min(index, recept_.Count() - 1));
}

void TVWOLesUitReceptDialoog::OKUpdate() {
  const TDateTime van = EVan.Date(), tot = ETot.Date();
  AOK.Enabled = !recept_.IsEmpty() && van.value != 0 && tot > van;
}

void TVWOLesUitReceptDialoog::OKExecute() {
  const TDateTime van = EVan.Date(), tot = ETot.Date();
  if (YearOf(tot) - YearOf(van) > 3) {
    SetFocus(ETot);
    RaiseClientError(
        "Er is meer dan 3 jaar tussen de van en tot datum.\r\nVermoedelijk zal dit niet correct "
        "zijn.");
  }
  if (Uitstellen) return;
  JobData data{{Variant(DoelID), Variant(DoelTekst), Variant(GetOpties()), Variant(van),
                Variant(tot), Variant(LesmomentAsString(recept_))}};
  owner_.ExecuteJob(kJobLesmomentenUitRecept, 0, data);
}

}  // namespace kavel

namespace kavel::dlgVWOLesmomentUitRecept {

void Initialization() {
  // The module variant screen sends the recipe; until it is built the dialog is declared with
  // nothing set. The class screen and the lesson helper of many classes declare the dialog as
  // they prepare it (classes/frmVWOKlas.cpp, planning/frmVWOKlasLesmomentUitRecept.cpp).
  RegisterDialogClass("TVWOLesUitReceptDialoog", "TVWOIngModuleVariantForm",
                      [](quil::TQuilDBForm& form) -> std::unique_ptr<quil::TQuilForm> {
                        return std::make_unique<TVWOLesUitReceptDialoog>(form);
                      });
}

}  // namespace kavel::dlgVWOLesmomentUitRecept
