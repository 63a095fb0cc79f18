// TVWOSchoolModuleGroepForm: the module groups of a school, each with a code, a description and
// a type (coded list "TPMG"); the master of the group's members ("Modules in groep") and of its
// prerequisites ("Voorvereisten"). A detail of the institution browser (SC_ID).
#pragma once

#include "host/data/CachedClientDataSet.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOSchoolModuleGroepForm : public quil::TQuilDBForm {
 public:
  explicit TVWOSchoolModuleGroepForm(quil::TQuilApplication& app);

  quil::TQuilParamClientDataset& CDSTypes;
  quil::TQuilClientDataSet& CDSModuleGroepen;
  quil::TDataSource& DSTypes;
  quil::TDataSource& DSModuleGroepen;

  quil::TDBGrid& GridGroepen;
  quil::TPanel& PnlKaart;
  quil::TDBEdit& EdtCode;
  quil::TDBEdit& EdtOmschrijving;
  quil::TDBLookupCombo& LCType;

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;
};

namespace frmVWOSchoolModuleGroep {
void Initialization();
}

}  // namespace kavel
