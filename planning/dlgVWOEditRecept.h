// TVWOEditReceptForm: edits one row of a lesson recipe (weekday, hours, pause, lesson times,
// teacher, room, lesson place, distance moment).
//
// The recipe dialog creates it per row it adds or edits, hands it the lists it was given and the
// row, and shows it modally; OK validates and writes the row back, Cancel leaves the row as it
// was. A list that was not given hides its choice and shows a note saying where the server takes
// the value from instead. The row belongs to the caller and must outlive the dialog.
#pragma once

#include <string>

#include "host/domain/LesRecept.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOEditReceptForm : public quil::TQuilForm {
 public:
  explicit TVWOEditReceptForm(quil::TQuilApplication& app);

  //! Staff (PS_ID, PS_VOORNAAM, PS_NAAM), rooms (LK_ID, LK_CODE, LK_OMSCHRIJVING), lesson places
  //! (VLP_ID, VLP_NUMMER, VLP_OMSCHRIJVING); nullptr: the server takes the value elsewhere.
  void SetLesGevers(quil::TDataSource* list);
  void SetLokalen(quil::TDataSource* list);
  void SetLesplaatsen(quil::TDataSource* list);
  //! The row shown and, on OK, written back.
  void SetRecept(quil::TLesReceptItem& row);
  //! Room and lesson place must be chosen (default); the screen that collects a recipe for many
  //! classes clears it.
  bool MiddelenVerplicht = true;

  void FormShow() override;

  quil::TComboBox& CBDag;
  quil::TTimeEdit& TEVan;
  quil::TTimeEdit& TETot;
  quil::TEdit& EPauze;
  quil::TEdit& ELestijden;
  quil::TLookupCombo& LCLesgever;
  quil::TLabel& LLesgeverInfo;
  quil::TLookupCombo& LCLokaal;
  quil::TLabel& LLokaalInfo;
  quil::TLookupCombo& LCLesplaats;
  quil::TLabel& LLesplaatsInfo;
  quil::TCheckBox& CBAfstand;
  quil::TButton& BOK;
  quil::TButton& BCancel;

 private:
  void VanChange();
  void RecomputeLestijden();
  void OKClick();
  void Validate();

  quil::TLesReceptItem* row_ = nullptr;
  std::string lesgever_, lokaal_, lesplaats_;
};

namespace dlgVWOEditRecept {

//! Declares the dialog to the host with the screens that open it.
void Initialization();

}  // namespace dlgVWOEditRecept

}  // namespace kavel
