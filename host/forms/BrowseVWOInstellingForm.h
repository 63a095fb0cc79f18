// TBrowseVWOInstellingForm: the host's list of institutions, the master browser of the screens
// that work per institution.
//
// It lists every institution with its school (client dataset CDSBrowseVWOinstelling on provider
// "DSPBrowseOSPInstellingen", data source DSBrowseVWOinstelling, its main data source), read-only,
// with a search text that narrows the list on code and name. Screens opened from it take the
// institution (IS_ID) and school (SC_ID) of its current record. Derived browsers add their own
// captions and form links through their definitions.
#pragma once

#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace quil {

class TBrowseVWOInstellingForm : public TQuilDBForm {
 public:
  explicit TBrowseVWOInstellingForm(TQuilApplication& app,
                                    std::string className = "TBrowseVWOInstellingForm");

  TQuilClientDataSet& CDSBrowseVWOinstelling;
  TDataSource& DSBrowseVWOinstelling;
  TEdit& EdtZoeken;
  TDBGrid& GridInstellingen;

  //! The grid column of the institution's flags.
  TColumn& FlagsColumn();

 private:
  void EdtZoekenChange();
};

}  // namespace quil
