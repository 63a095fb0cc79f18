// TVWOKlasCPForm: the contact persons of one class. A contact is of a kind the institution
// defines and is a staff member employed during the class's period, chosen from a list, or a
// person typed by name. Choosing a staff member writes their name ("first name last name") over
// the name typed before.
#pragma once

#include "host/data/CachedClientDataSet.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOKlasCPForm : public quil::TQuilDBForm {
 public:
  explicit TVWOKlasCPForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSVWOKlasCP;
  quil::TInstellingParamClientDataset& CDSKC_TYPE_FKP;
  quil::TQuilClientDataSet& CDSSelectPSperISviaDV;
  quil::TDataSource& DSVWOKlasCP;
  quil::TDataSource& DSKC_TYPE_FKP;
  quil::TDataSource& DSSelectPSperISviaDV;
  quil::TDBGrid& GridCP;
  quil::TDBLookupCombo& LCType;
  quil::TDBLookupCombo& SCPersoneel;
  quil::TDBEdit& EdtPersoon;

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;

 private:
  void PersoneelChange(quil::TField& field);

  quil::TField* instelling_ = nullptr;
  quil::TField* klas_ = nullptr;
};

namespace frmVWOKlasCP {
void Initialization();
}

}  // namespace kavel
