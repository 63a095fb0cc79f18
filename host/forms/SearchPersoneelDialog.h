// TSearchPersoneelDialog: the host's staff search. The user looks a staff member up by name (and,
// unless hidden, by registration number) among the staff of an institution and picks one; the
// caller reads the chosen person's id, names, national number and e-mail address.
//
// Search type 0 lists the staff employed at the institution on the work date (provider
// "DSPSelectHuidigPersoneelInDienst", IS_ID and WERKDATUM). The provider gives one row per
// employment; the list shows each person once (the row of an active employment when there is
// one). Another search type is refused with a client error when the dialog is created. The list
// opens when the dialog is shown, on the person passed in when that one is listed. OK with nobody
// chosen is refused and keeps the dialog open; a double click on a person chooses and closes.
//
// A plain modal dialog (TQuilForm): the caller creates it, shows it with ShowModal and reads the
// getters after mrOk. It owns its list dataset and data source; the list borrows the connection.
// Used on the session's UI thread only.
#pragma once

#include <memory>
#include <string>

#include "host/base/DateTime.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace quil {

class TDMQuil;

class TSearchPersoneelDialog : public TQuilForm {
 private:
  // Declared before the public references below, which point into them.
  std::unique_ptr<TQuilClientDataSet> cdsPersoneel_;
  std::unique_ptr<TDataSource> dsPersoneel_;

 public:
  //! searchType 0: staff employed at institution `isId` on `werkDatum`; `psId` the person shown
  //! first (-1 or 0 for none).
  TSearchPersoneelDialog(TQuilApplication& app, int searchType, int isId, int psId,
                         TDateTime werkDatum, TDMQuil& connection);
  ~TSearchPersoneelDialog() override;

  //! Hides the search field of the registration number (and drops what it narrowed).
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

 private:
  struct Chosen {
    int psId = -1;
    std::string naam;
    std::string voornaam;
    std::string insz;
    std::string email;
  };

  void ApplySearch();
  //! Takes the current person as the choice; a client error when the list shows nobody.
  void ChooseCurrent();

  int searchType_;
  int isId_;
  int psId_;
  TDateTime werkDatum_;
  Chosen chosen_;
};

}  // namespace quil
