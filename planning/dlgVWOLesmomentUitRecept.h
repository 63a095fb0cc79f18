// TVWOLesUitReceptDialoog: asks for a lesson recipe, the period to generate it in and the
// generation options, and has the server create the lessons (job 313).
//
// The module variant screen and the class screen open it for one organised module variant or for
// every module variant of a class; the screen that applies one recipe to many classes opens it
// with the defer flag set, only to collect the recipe, options and period. The caller creates it
// with itself as owner (the owner's job service sends the job), sets the lists and the state
// below, shows it modally and frees it. The dialog owns its recipe.
#pragma once

#include <string>

#include "host/domain/LesRecept.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOLesUitReceptDialoog : public quil::TQuilForm {
 public:
  explicit TVWOLesUitReceptDialoog(quil::TQuilDBForm& owner);

  //! Rooms (LK_ID, LK_CODE, LK_OMSCHRIJVING), staff (PS_ID, PS_VOORNAAM, PS_NAAM), lesson places
  //! (VLP_ID, VLP_NUMMER, VLP_OMSCHRIJVING); each may stay absent. Without rooms the grid shows
  //! six columns.
  quil::TDataSource* Lokalen = nullptr;
  quil::TDataSource* LesGevers = nullptr;
  quil::TDataSource* Lesplaatsen = nullptr;
  //! The class id, and the IMV_ID of one module variant as text ("" for all of the class).
  int DoelID = 0;
  std::string DoelTekst;
  //! What the first row of a recipe starts with; -1 for none.
  int StandaardLesgever = -1;
  int StandaardLokaal = -1;
  int StandaardLesplaats = -1;
  //! OK only collects the recipe; the caller sends it later.
  bool Uitstellen = false;
  //! Handed to the row editor: room and lesson place must be chosen.
  bool MiddelenVerplicht = true;

  //! 1 = "Aanmaken vanaf", 2 = "Tot".
  void SetDatum(int index, quil::TDateTime date);
  quil::TDateTime GetDatum(int index) const;
  //! The generation options as a bit set (docs/jobs.md, job 313).
  int GetOpties() const;
  quil::TLesRecept& Recept() { return recept_; }
  const quil::TLesRecept& Recept() const { return recept_; }

  void FormShow() override;

  quil::TStringGrid& SGRecept;
  quil::TDateEdit& EVan;
  quil::TDateEdit& ETot;
  quil::TCheckBox& CBEinddatum;
  quil::TCheckBox& CBBegindatum;
  quil::TCheckBox& CBTweewekelijks;
  quil::TCheckBox& CBGeenVakanties;
  quil::TCheckBox& CBInstellingsVakanties;
  quil::TCheckBox& CBRegistratiemoment;
  quil::TCheckBox& CBVerwijderen;
  quil::TAction& ANieuw;
  quil::TAction& ABewerk;
  quil::TAction& AVerwijder;
  quil::TAction& AOK;
  quil::TButton& BOK;
  quil::TButton& BCancel;

 private:
  void NieuwExecute();
  void BewerkExecute();
  void VerwijderExecute();
  void OKUpdate();
  void OKExecute();
  //! Shows the row editor on a row; true when the user accepted it.
  bool EditRow(quil::TLesReceptItem& row);
  //! The recipe row of the grid's selection; -1 when the recipe is empty.
  int SelectedRow() const;
  void ShowRecept(int selectRow);

  quil::TQuilDBForm& owner_;
  quil::TLesRecept recept_;
};

namespace dlgVWOLesmomentUitRecept {

//! Declares the dialog to the host with the screens that open it.
void Initialization();

}  // namespace dlgVWOLesmomentUitRecept

}  // namespace kavel
