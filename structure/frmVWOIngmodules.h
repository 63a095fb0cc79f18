// TVWOIngmodulesForm: which modules an institution organises. On the left the modules of the
// official programme variants ("Beschikbare VWO modules"), all of them or only those of the
// variants the school is authorised for, narrowed with a text filter; on the right the organised
// modules of the institution ("Ingerichte VWO modules") with the external code the user types
// in. A module is organised once (TRecSelectionManager, one per VOM_ID).
//
// The organised modules are a detail of the institution browser (IS_ID). The screen owns its
// datasets, controls, filter and selection manager; it lives on the session's UI thread.
#pragma once

#include "host/domain/RecSelectionManager.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"
#include "structure/ListFilter.h"

namespace kavel {

class TVWOIngmodulesForm : public quil::TQuilDBForm {
 public:
  explicit TVWOIngmodulesForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSModules;
  quil::TQuilClientDataSet& CDSIngerichteModules;
  quil::TDataSource& DSModules;
  quil::TDataSource& DSIngerichteModules;

  quil::TSelectionPanel& PnlSelectie;
  quil::TPanel& PnlBeschikbaar;
  quil::TEdit& EdtFilter;
  quil::TCheckBox& ChkFilter;
  quil::TCheckBox& ChkBevoegd;
  quil::TDBGrid& GridModules;
  quil::TButton& BtnAdd;
  quil::TButton& BtnDelete;
  quil::TPanel& PnlIngericht;
  quil::TDBGrid& GridIngerichteModules;
  quil::TDBEdit& EdtEdenred;

  quil::TAction& AAdd;
  quil::TAction& ADelete;
  quil::TAction& AFilterModules;

  quil::TRecSelectionManager& Selection() { return selection_; }

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;

  //! Records come and go through the actions only (the selection manager's rules).
  void QuilDBFormCanInsert(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanDelete(quil::TQuilClientDataSet& dataset, bool& allow) override;

 private:
  void ChkBevoegdClick();
  void ReopenModules();

  quil::TRecSelectionManager selection_;
  TListFilter filter_;
  quil::TDataSource* institution_ = nullptr;
};

namespace frmVWOIngmodules {
void Initialization();
}

}  // namespace kavel
