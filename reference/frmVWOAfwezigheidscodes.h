// TVWOAfwezigheidsCodesForm: the absence codes of one institution (a one-letter code, a
// description, a colour, the Davinci participation status it stands for and whether it may be
// filled in from a lesson post).
//
// The codes are a detail of the institution browser's current record (parameter IS_ID). Each time
// the codes of an institution open empty, the screen offers to create the four standard codes; it
// inserts them as one bulk change, so they reach the server in one apply. The colour button
// follows the current code; a colour chosen on it goes into the code when the code may be edited.
//
// The screen owns its datasets and controls; it lives on the session's UI thread.
#pragma once

#include "host/data/CachedClientDataSet.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOAfwezigheidsCodesForm : public quil::TQuilDBForm {
 public:
  explicit TVWOAfwezigheidsCodesForm(quil::TQuilApplication& app);

  quil::TVWOParamsClientDataset& CDSParticipatieStatus;
  quil::TVWOParamsClientDataset& CDSParticipatieStatusBev;
  quil::TQuilClientDataSet& CDSVWOAfwezigheidsCodes;
  quil::TDataSource& DSParticipatieStatus;
  quil::TDataSource& DSParticipatieStatusBev;
  quil::TDataSource& DSAfwezigheidscodes;

  quil::TDBGrid& GridAfwezigheidscodes;
  quil::TPanel& PnlDetail;
  quil::TDBEdit& EdtCode;
  quil::TDBEdit& EdtOmschrijving;
  quil::TColorButton& BtnKleur;
  quil::TDBLookupCombo& LCParticipatieStatus;
  quil::TDBLookupCombo& LCParticipatieStatusBev;
  quil::TDBCheckBox& CBInvulbaarViaLeerpost;

  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;

 private:
  void CDSVWOAfwezigheidsCodesAfterOpen();
  void CDSVWOAfwezigheidsCodesNewRecord();
  void CDSVWOAfwezigheidsCodesAfterScroll();
  void BtnKleurChange();
  void InsertStandaardCodes();
  //! The colour of the current code; the window colour when there is none.
  quil::TColor KleurVanCode() const;
};

namespace frmVWOAfwezigheidscodes {
void Initialization();
}

}  // namespace kavel
