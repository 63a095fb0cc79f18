// TSearchPersoneelDialog: the host's staff search. The user looks a staff member up by name (and,
// unless hidden, by registration number) among the staff of an institution and picks one; the
// caller reads the chosen person's id, names, national number and e-mail address.
//
// Search type 0 lists the staff employed at the institution on the work date (provider
// "DSPSelectHuidigPersoneelInDienst", IS_ID and WERKDATUM). The list opens when the dialog is
// shown, on the person passed in when that one is listed. OK with nobody chosen is refused.
#pragma once

#include <string>

#include "host/base/DateTime.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace quil {

class TDMQuil;

class TSearchPersoneelDialog : public TQuilForm {
 public:
  //! searchType 0: staff employed at institution `isId` on `werkDatum`; `psId` the person shown
  //! first (-1 or 0 for none).
  TSearchPersoneelDialog(TQuilApplication& app, int searchType, int isId, int psId,
                         TDateTime werkDatum, TDMQuil& connection);
  ~TSearchPersoneelDialog() override;

  //! Hides the search field of the registration number.
  void SetHideSearchIM(bool hide);

  //! The chosen staff member after OK; -1 when none.
  int GetPSID() const;
  std::string GetNaam() const;
  std::string GetVoornaam() const;
  //! The national number (rijksregisternummer).
  std::string GetINSZ() const;
  std::string GetEmail() const;

  TQuilClientDataSet& CDSPersoneel;
  TDataSource& DSPersoneel;
  TEdit& EZoekNaam;  //!< narrows the list on name or first name
  TEdit& EZoekIM;    //!< narrows the list on the registration number (stamboeknummer)
  TDBGrid& GridPersoneel;
  TButton& BOK;
  TButton& BCancel;

  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;

 private:
  void ApplySearch();

  int searchType_;
  int isId_;
  int psId_;
  TDateTime werkDatum_;
};

}  // namespace quil
