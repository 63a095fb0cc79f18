// TVWOIngOpleidingsVariantVestForm: which organised programme variants a location of the
// institution teaches. After choosing the location, the organised variants of its Davinci
// geography are on the left (those the location teaches already in grey), the location's links
// on the right. A variant is linked once (TRecSelectionManager, one per CIO_ID); links are made
// and removed only through the actions: the screen itself is read-only.
//
// The screen owns its datasets, controls and selection manager; it lives on the session's UI
// thread.
#pragma once

#include "host/domain/RecSelectionManager.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOIngOpleidingsVariantVestForm : public quil::TQuilDBForm {
 public:
  explicit TVWOIngOpleidingsVariantVestForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSVestigingen;
  quil::TQuilClientDataSet& CDSVWOIngOplVar;
  quil::TQuilClientDataSet& CDSKoppelingen;
  quil::TDataSource& DSVestigingen;
  quil::TDataSource& DSVWOIngOplVar;
  quil::TDataSource& DSKoppelingen;

  quil::TSearchControl& SCVestiging;
  quil::TSelectionPanel& PnlSelectie;
  quil::TPanel& PnlGeografie;
  quil::TCheckBox& ChkActief;
  quil::TDBGrid& GridIngOplVar;
  quil::TButton& BtnAdd;
  quil::TButton& BtnAddAll;
  quil::TButton& BtnDelete;
  quil::TButton& BtnDeleteAll;
  quil::TPanel& PnlVestiging;
  quil::TDBGrid& GridKoppelingen;

  quil::TAction& AAdd;
  quil::TAction& AAddAll;
  quil::TAction& ADelete;
  quil::TAction& ADeleteAll;
  quil::TAction& ACommDavinci;

  quil::TRecSelectionManager& Selection() { return selection_; }

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormShow() override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;

 private:
  void ACommDavinciExecute();
  void ACommDavinciUpdate();
  void SCVestigingChange();
  void ApplyActiveFilter();
  void RefreshLeft();
  void AAddExecute();

  quil::TRecSelectionManager selection_;
};

namespace frmVWOIngOpleidingsVariantVest {
void Initialization();
}

}  // namespace kavel
