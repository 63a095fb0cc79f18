// TVWOSchoolModuleGroepVoorVereistenForm: the prerequisites of one module group
// (TVWOVoorvereistenBaseForm).
#pragma once

#include "structure/VWOVoorvereistenBaseForm.h"

namespace kavel {

class TVWOSchoolModuleGroepVoorVereistenForm : public TVWOVoorvereistenBaseForm {
 public:
  explicit TVWOSchoolModuleGroepVoorVereistenForm(quil::TQuilApplication& app);

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
};

namespace frmVWOSchoolModuleGroepVoorvereisten {
void Initialization();
}

}  // namespace kavel
