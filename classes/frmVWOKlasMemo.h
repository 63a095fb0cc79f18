// TVWOKlasMemoForm: the memos of one class, each of a memo type with a description and its text.
#pragma once

#include "host/data/CachedClientDataSet.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOKlasMemoForm : public quil::TQuilDBForm {
 public:
  explicit TVWOKlasMemoForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSKlasMemo;
  quil::TQuilParamClientDataset& CDSVKM_TYPE_FKP;
  quil::TDataSource& DSKlasMemo;
  quil::TDataSource& DSVKM_TYPE_FKP;
  quil::TDBGrid& GridMemo;
  quil::TDBLookupCombo& LCType;
  quil::TDBEdit& EdtOmschrijving;
  quil::TDBEdit& EdtMemo;

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
};

namespace frmVWOKlasMemo {
void Initialization();
}

}  // namespace kavel
