// TBrowseVWOInstellingStructHulpschermenForm: the institutions list that is the default master of
// the help screens (class transfer, lessons from recipe, processing lesson moments, lesson count
// check, lesson moments to class memo, teaching assignment, class actions, transfer settings).
#pragma once

#include "host/forms/BrowseVWOInstellingForm.h"

namespace kavel {

class TBrowseVWOInstellingStructHulpschermenForm : public quil::TBrowseVWOInstellingForm {
 public:
  explicit TBrowseVWOInstellingStructHulpschermenForm(quil::TQuilApplication& app)
      : TBrowseVWOInstellingForm(app, "TBrowseVWOInstellingStructHulpschermenForm") {}
};

namespace frmBrowseVWOInstellingenStrucHulpschermen {
void Initialization();
}

}  // namespace kavel
