// TVWOFicheKlasForm: the class screen for one class, the class its master stands on, whatever
// its period. It has no period and no list filters (the top panel is hidden), and it offers the
// open classes of the class's own period.
#pragma once

#include "classes/frmVWOKlas.h"

namespace kavel {

class TVWOFicheKlasForm : public TVWOKlasForm {
 public:
  explicit TVWOFicheKlasForm(quil::TQuilApplication& app);

  //! One class has no period to recompute.
  void SetDateParams() override {}
};

namespace frmVWOFicheKlas {
void Initialization();
}

}  // namespace kavel
