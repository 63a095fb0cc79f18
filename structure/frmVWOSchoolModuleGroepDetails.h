// TVWOSchoolModulegroepDetailsForm: the modules of one module group. On the left the modules
// ("Be&schikbare modules", all of them or only the organised ones, with a text filter), on the
// right the group's members under the group's title. A module is a member once
// (TRecSelectionManager, one per VOM_ID). A detail of the group list (VMG_ID).
#pragma once

#include "host/domain/RecSelectionManager.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"
#include "structure/ListFilter.h"

namespace kavel {

class TVWOSchoolModulegroepDetailsForm : public quil::TQuilDBForm {
 public:
  explicit TVWOSchoolModulegroepDetailsForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSModules;
  quil::TQuilClientDataSet& CDSModuleGroepDetails;
  quil::TDataSource& DSModules;
  quil::TDataSource& DSModuleGroepDetails;

  quil::TSelectionPanel& PnlSelectie;
  quil::TPanel& PnlBeschikbaar;
  quil::TEdit& EdtFilter;
  quil::TCheckBox& ChkFilter;
  quil::TCheckBox& ChkIngericht;
  quil::TDBGrid& GridModules;
  quil::TButton& BtnAdd;
  quil::TButton& BtnRemove;
  quil::TPanel& PnlGroep;
  quil::TDBGrid& GridLeden;

  quil::TAction& AAdd;
  quil::TAction& Aremove;
  quil::TAction& AFilter;

  quil::TRecSelectionManager& Selection() { return selection_; }

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;

  //! Records come and go through the actions only (the selection manager's rules).
  void QuilDBFormCanInsert(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanDelete(quil::TQuilClientDataSet& dataset, bool& allow) override;

 private:
  void ReopenModules();
  void UpdateTitle();

  quil::TRecSelectionManager selection_;
  TListFilter filter_;
  quil::TDataSource* institution_ = nullptr;
  quil::TDataSource* group_ = nullptr;
};

namespace frmVWOSchoolModuleGroepDetails {
void Initialization();
}

}  // namespace kavel
