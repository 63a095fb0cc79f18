// TVWOIngModuleCompetentiesForm: the competences of one organised module variant, each a line of
// text, edited in the list and in a memo below it. The lines are the module variant's detail lines
// of record type "C" (TVWOIngModuleVariantDetailForm).
#pragma once

#include "structure/VWOIngModuleVariantDetailForm.h"

namespace kavel {

class TVWOIngModuleCompetentiesForm : public TVWOIngModuleVariantDetailForm {
 public:
  explicit TVWOIngModuleCompetentiesForm(quil::TQuilApplication& app);

  quil::TDBGrid& GridDetails;
  quil::TDBEdit& EdtOmschrijving;
};

namespace frmVWOIngModuleCompetenties {
void Initialization();
}

}  // namespace kavel
