// TVWOModuleVoorvereistenForm: the prerequisites of one module (TVWOVoorvereistenBaseForm).
#pragma once

#include "structure/VWOVoorvereistenBaseForm.h"

namespace kavel {

class TVWOModuleVoorvereistenForm : public TVWOVoorvereistenBaseForm {
 public:
  explicit TVWOModuleVoorvereistenForm(quil::TQuilApplication& app);

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
};

namespace frmVWOModuleVoorvereisten {
void Initialization();
}

}  // namespace kavel
