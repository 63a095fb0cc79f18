// TVWOIngModuleVarEindtermenForm: the attainment targets (eindtermen) of one organised module
// variant, each a line of text, edited in the list and in a memo below it. The lines are the module
// variant's detail lines of record type "E" (TVWOIngModuleVariantDetailForm).
#pragma once

#include "structure/VWOIngModuleVariantDetailForm.h"

namespace kavel {

class TVWOIngModuleVarEindtermenForm : public TVWOIngModuleVariantDetailForm {
 public:
  explicit TVWOIngModuleVarEindtermenForm(quil::TQuilApplication& app);

  quil::TDBGrid& GridDetails;
  quil::TDBEdit& EdtOmschrijving;
};

namespace frmVWOIngModuleVarEindtermen {
void Initialization();
}

}  // namespace kavel
