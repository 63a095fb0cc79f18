// TVWOSchoolModuleForm: the modules an institution organises, read-only; the master of the
// prerequisites of a module ("Voorvereisten module"). A detail of the institution browser (IS_ID).
#pragma once

#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOSchoolModuleForm : public quil::TQuilDBForm {
 public:
  explicit TVWOSchoolModuleForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSIngModules;
  quil::TDataSource& DSIngModules;
  quil::TDBGrid& GridModules;

  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
};

namespace frmVWOSchoolModule {
void Initialization();
}

}  // namespace kavel
