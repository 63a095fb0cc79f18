// TBrowseVWOStructInstellingDavinciForm: the institutions list that is the default master of the
// Davinci screens (synchronisation, calls overview, register transfers). It shows the
// institution's flags, labelled "Flags".
#pragma once

#include "host/forms/BrowseVWOInstellingForm.h"

namespace kavel {

class TBrowseVWOStructInstellingDavinciForm : public quil::TBrowseVWOInstellingForm {
 public:
  explicit TBrowseVWOStructInstellingDavinciForm(quil::TQuilApplication& app);
};

namespace frmBrowseVWOStructInstellingDavinci {
void Initialization();
}

}  // namespace kavel
